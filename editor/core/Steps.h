#pragma once

#include <QString>

// The arithmetic behind the editor's up-down steppers. Each operation takes a
// field's text and returns the text to write back; a text that cannot be read
// throws ConvertError and the field is to be left as it is.
namespace nerubato::steps {

// The date stepper counts in a 366-day year whose February always has 29 days.
// Both tables are indexed from 1, as months are; MonthStart[13] is the year's length.
inline constexpr int MonthDays[13] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
inline constexpr int MonthStart[14] = {0,   0,   31,  60,  91,  121, 152,
                                       182, 213, 244, 274, 305, 335, 366};
inline constexpr int kYearDays = 366;
inline constexpr int kDayMinutes = 24 * 60;

// "HH:MM" moved by minutes around a 24-hour clock (|minutes| < 1440).
QString StepTime(const QString &text, int minutes);

// "MM/DD" moved by days around the 366-day year (|days| <= 366). "02/29" is
// taken as it is; any other text must be a real date of year (by default the
// current calendar year).
QString StepDate(const QString &text, int days, int year);
QString StepDate(const QString &text, int days);
int DateMonth(const QString &text, int year);
int DateMonth(const QString &text);
int DateDay(const QString &text, int year);
int DateDay(const QString &text);

// A decimal number moved by delta and held inside [minimum, maximum].
QString StepClamped(const QString &text, int delta, int minimum, int maximum);
// A decimal number moved up by step; past the maximum the maximum is taken off
// once, and what then lies under the minimum becomes the minimum.
QString StepWrapped(const QString &text, int step, int minimum, int maximum);

// What one stepper does: its kind and, for numbers, its range and big step.
struct StepRule
{
    enum Kind { Time, Date, Number };
    Kind kind = Number;
    int minimum = 0;
    int maximum = 0;
    int bigStep = 0;
    const char16_t *unit = u""; // of a number: 秒, 分
};

// The left button on an arrow: direction +1 for the upper one, -1 for the lower.
QString smallStep(const StepRule &rule, const QString &text, int direction);
// The right button: an hour, the same day of the next month, or the big step.
QString bigStep(const StepRule &rule, const QString &text);

// The editor's eleven steppers: each one's name, its field's and its rule.
struct StepperRow
{
    const char *stepper;
    const char *field;
    StepRule rule;
};

inline constexpr StepRule kTimeRule{StepRule::Time};
inline constexpr StepRule kDateRule{StepRule::Date};
inline constexpr StepRule kMessageSecondsRule{StepRule::Number, 3, 900, 30, u"秒"};
inline constexpr StepRule kBeepSecondsRule{StepRule::Number, 0, 900, 30, u"秒"};
inline constexpr StepRule kMinutesRule{StepRule::Number, 0, 300, 10, u"分"};

inline constexpr StepperRow kSteppers[] = {
    {"kidobi_UD", "kidobi_Edit", kDateRule},
    {"kara_UD", "kara_Edit", kTimeRule},
    {"made_UD", "made_Edit", kTimeRule},
    {"timer_UD", "timer_Edit", kTimeRule},
    {"syuryo2_UD", "syuryo2_Edit", kTimeRule},
    {"message_UD", "message_Edit", kMessageSecondsRule},
    {"kensyutu_UD", "kensyutu_Edit", kBeepSecondsRule},
    {"jikansa_UD2", "jikansa_Edit2", kMinutesRule},
    {"jikansa_UD3", "jikansa_Edit3", kMinutesRule},
    {"jikansa_UD4", "jikansa_Edit4", kMinutesRule},
    {"jikansa_UD5", "jikansa_Edit5", kMinutesRule},
};

// The unit and range a stepper keeps its field in: "3～900秒", "00:00～23:59".
QString rangeText(const StepRule &rule);

// The rule of the stepper of that name; nullptr for any other name.
const StepRule *ruleOf(const QString &stepper);

// The day of the next month that the date stepper's right button lands on is
// this many days ahead.
int monthJump(int month, int day);

} // namespace nerubato::steps
