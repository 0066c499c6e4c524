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

// The editor's eleven steppers: each one's name, its field's and its rule.
struct StepperRow
{
    const char *stepper;
    const char *field;
    steps::StepRule rule;
};

inline constexpr StepperRow kSteppers[] = {
    {"kidobi_UD", "kidobi_Edit", steps::kDateRule},
    {"kara_UD", "kara_Edit", steps::kTimeRule},
    {"made_UD", "made_Edit", steps::kTimeRule},
    {"timer_UD", "timer_Edit", steps::kTimeRule},
    {"syuryo2_UD", "syuryo2_Edit", steps::kTimeRule},
    {"message_UD", "message_Edit", steps::kMessageSecondsRule},
    {"kensyutu_UD", "kensyutu_Edit", steps::kBeepSecondsRule},
    {"jikansa_UD2", "jikansa_Edit2", steps::kMinutesRule},
    {"jikansa_UD3", "jikansa_Edit3", steps::kMinutesRule},
    {"jikansa_UD4", "jikansa_Edit4", steps::kMinutesRule},
    {"jikansa_UD5", "jikansa_Edit5", steps::kMinutesRule},
};

} // namespace nerubato
