#include "MouseUpButtons.h"

#include <QMouseEvent>

namespace nerubato {

void MouseUpCheckBox::mouseReleaseEvent(QMouseEvent *event)
{
    QCheckBox::mouseReleaseEvent(event);
    emit mouseUp(event->button());
}

void MouseUpRadioButton::mouseReleaseEvent(QMouseEvent *event)
{
    QRadioButton::mouseReleaseEvent(event);
    emit mouseUp(event->button());
}

} // namespace nerubato
