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

void MouseUpCheckBox::mouseReleaseEvent(QMouseEvent *event)
{
    QCheckBox::mouseReleaseEvent(event);
    emit mouseUp(event->button());
}

void MouseUpCheckBox::keyReleaseEvent(QKeyEvent *event)
{
    QCheckBox::keyReleaseEvent(event);
    if (changesState(event))
        emit keyUp();
}

void MouseUpRadioButton::mouseReleaseEvent(QMouseEvent *event)
{
    QRadioButton::mouseReleaseEvent(event);
    emit mouseUp(event->button());
}

void MouseUpRadioButton::keyReleaseEvent(QKeyEvent *event)
{
    QRadioButton::keyReleaseEvent(event);
    if (changesState(event))
        emit keyUp();
}

} // namespace nerubato
