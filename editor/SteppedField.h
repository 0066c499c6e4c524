#pragma once

#include "editor/core/Steps.h"

#include <QObject>

namespace nerubato {

class ByteEdit;
class Platform;
class Stepper;

// A read-only field and the stepper beside it, stepped by one rule: the
// stepper's arrows (the small steps) and right button (the big one), the
// field's Up, Down and Page Up keys, an assistive technology's increase and
// decrease. A text the rule cannot read fails with its conversion error in
// the general error box and the field keeps it. To a screen reader the
// stepper is named after its field, and the field says its range.
class SteppedField : public QObject
{
    Q_OBJECT

public:
    // Made once the field has its accessible name. A child of the field.
    SteppedField(Platform &platform, Stepper *stepper, ByteEdit *field, const steps::StepRule &rule);

private:
    void smallStep(int direction);
    void bigStep();

    ByteEdit *m_field;
    steps::StepRule m_rule;
};

} // namespace nerubato
