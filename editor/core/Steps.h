#pragma once

#include "settings/RecordLines.h"

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

inline constexpr StepRule kTimeRule{StepRule::Time};
inline constexpr StepRule kDateRule{StepRule::Date};
// A number keeps the range the runner holds its line to.
constexpr StepRule numberRule(Field field, int bigStep, const char16_t *unit)
{
    const RecordLine &row = recordLine(field);
    return {StepRule::Number, row.minimum, row.maximum, bigStep, unit};
}
inline constexpr StepRule kMessageSecondsRule = numberRule(Field::message_Sec, 30, u"秒");
inline constexpr StepRule kBeepSecondsRule = numberRule(Field::kensyutu_Sec, 30, u"秒");
inline constexpr StepRule kMinutesRule = numberRule(Field::jikansa_Min, 10, u"分");

// The unit and range a stepper keeps its field in: "3～900秒", "00:00～23:59".
QString rangeText(const StepRule &rule);

// The day of the next month that the date stepper's right button lands on is
// this many days ahead.
int monthJump(int month, int day);

} // namespace nerubato::steps
