#include "SteppedField.h"

#include "editor/ByteEdit.h"
#include "editor/Stepper.h"
#include "ui/Handlers.h"

namespace nerubato {

SteppedField::SteppedField(Platform &platform, Stepper *stepper, ByteEdit *field,
                           const steps::StepRule &rule)
    : QObject(field), m_field(field), m_rule(rule)
{
    connectGuarded(platform, stepper, &Stepper::arrowClicked, this, [this](Stepper::Arrow arrow) {
        smallStep(arrow == Stepper::Next ? 1 : -1);
    });
    // The stepper itself ignores the right button; a right press anywhere on
    // it is one big step.
    connectGuarded(platform, stepper, &Stepper::mousePressed, this, [this](Qt::MouseButton button) {
        if (button == Qt::RightButton)
            bigStep();
    });
    auto *keys = new StepKeys(field);
    connectGuarded(platform, keys, &StepKeys::smallStep, this, &SteppedField::smallStep);
    connectGuarded(platform, keys, &StepKeys::bigStep, this, &SteppedField::bigStep);

    stepper->setField(field);
    stepper->setAccessibleName(field->accessibleName() + u" 増減"_qs);
    field->setAccessibleDescription(steps::rangeText(rule));
}

void SteppedField::smallStep(int direction)
{
    m_field->setNewText(steps::smallStep(m_rule, m_field->text(), direction));
}

void SteppedField::bigStep()
{
    m_field->setNewText(steps::bigStep(m_rule, m_field->text()));
}

} // namespace nerubato
