#pragma once

#include <QCheckBox>
#include <QRadioButton>

namespace nerubato {

// Check boxes and radio buttons that report the release of any mouse button
// pressed on them, after the button has taken the state the click gave it.
// Keyboard changes report nothing.
class MouseUpCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

signals:
    void mouseUp(Qt::MouseButton button);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

class MouseUpRadioButton : public QRadioButton
{
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;

signals:
    void mouseUp(Qt::MouseButton button);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace nerubato
