#pragma once

#include <QCheckBox>
#include <QRadioButton>

namespace nerubato {

// Check boxes and radio buttons that report the release of any mouse button
// pressed on them, after the button has taken the state the click gave it;
// and, so that the rules do not lock out a user without a mouse, the release
// of a key that changes them (Space, the arrows of a radio group), once the
// state has changed.
//
// moc takes no signals in a template: the releases are caught once here, and
// each button below declares the signals they are reported by.
template <class Reporter, class Button> class MouseUp : public Button
{
public:
    using Button::Button;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
};

class MouseUpCheckBox : public MouseUp<MouseUpCheckBox, QCheckBox>
{
    Q_OBJECT

public:
    using MouseUp::MouseUp;

signals:
    void mouseUp(Qt::MouseButton button);
    void keyUp();
};

class MouseUpRadioButton : public MouseUp<MouseUpRadioButton, QRadioButton>
{
    Q_OBJECT

public:
    using MouseUp::MouseUp;

signals:
    void mouseUp(Qt::MouseButton button);
    void keyUp();
};

extern template class MouseUp<MouseUpCheckBox, QCheckBox>;
extern template class MouseUp<MouseUpRadioButton, QRadioButton>;

} // namespace nerubato
