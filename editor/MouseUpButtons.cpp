#include "MouseUpButtons.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace nerubato {

namespace {

// The keys with which a check box or a radio group changes state.
bool changesState(const QKeyEvent *event)
{
    if (event->isAutoRepeat())
        return false;
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return true;
    default:
        return false;
    }
}

} // namespace

template <class Reporter, class Button>
void MouseUp<Reporter, Button>::mouseReleaseEvent(QMouseEvent *event)
{
    Button::mouseReleaseEvent(event);
    emit static_cast<Reporter *>(this)->mouseUp(event->button());
}

template <class Reporter, class Button>
void MouseUp<Reporter, Button>::keyReleaseEvent(QKeyEvent *event)
{
    Button::keyReleaseEvent(event);
    if (changesState(event))
        emit static_cast<Reporter *>(this)->keyUp();
}

template class MouseUp<MouseUpCheckBox, QCheckBox>;
template class MouseUp<MouseUpRadioButton, QRadioButton>;

} // namespace nerubato
