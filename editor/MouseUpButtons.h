#pragma once

#include <QCheckBox>
#include <QRadioButton>

namespace nerubato {

// Check boxes and radio buttons that report the release of any mouse button
// pressed on them, after the button has taken the state the click gave it;
// and, so that the rules do not lock out a user without a mouse, the release
// of a key that changes them (Space, the arrows of a radio group), once the
// state has changed.
class MouseUpCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

signals:
    void mouseUp(Qt::MouseButton button);
    void keyUp();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
};

class MouseUpRadioButton : public QRadioButton
{
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;

signals:
    void mouseUp(Qt::MouseButton button);
    void keyUp();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
};

} // namespace nerubato
