#include "Plan.h"

#include "settings/RecordLines.h"

#include <QDate>

#include <algorithm>
#include <optional>

namespace nerubato::runner {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Two digits at i, as a number.
std::optional<int> twoDigits(const QByteArray &t, int i)
{
    if (!isDigit(t[i]) || !isDigit(t[i + 1]))
        return std::nullopt;
    return (t[i] - '0') * 10 + (t[i + 1] - '0');
}

// "HH:MM", 00:00 to 23:59, as the steppers write it.
std::optional<QTime> timeOf(const QByteArray &t)
{
    if (t.size() != 5 || t[2] != ':')
        return std::nullopt;
    const auto h = twoDigits(t, 0), m = twoDigits(t, 3);
    if (!h || !m || *h > 23 || *m > 59)
        return std::nullopt;
    return QTime(*h, *m);
}

// A whole number without leading zeros, inside the line's range (at most 900).
std::optional<int> numberOf(const QByteArray &t, const RecordLine &row)
{
    if (t.isEmpty() || t.size() > 3 || (t.size() > 1 && t[0] == '0') ||
        !std::all_of(t.begin(), t.end(), isDigit))
        return std::nullopt;
    const int value = t.toInt();
    if (value < row.minimum || value > row.maximum)
        return std::nullopt;
    return value;
}

// "MM/DD" of a leap year, so that 02/29 is a date.
bool monthDayOf(const QByteArray &t, int &month, int &day)
{
    if (t.size() != 5 || t[2] != '/')
        return false;
    const auto m = twoDigits(t, 0), d = twoDigits(t, 3);
    if (!m || !d || *m < 1 || *m > 12 || *d < 1 || *d > QDate(2000, *m, 1).daysInMonth())
        return false;
    month = *m;
    day = *d;
    return true;
}

// What a line in the form of its kind holds, as the run uses it.
struct LineValue
{
    QTime time;
    int number = 0;
    int month = 0, day = 0;
};

// A line read by its kind; none when its text is not in the kind's form.
std::optional<LineValue> valueOf(const RecordLine &row, const QByteArray &t)
{
    LineValue v;
    bool inForm = true;
    switch (row.kind) {
    case LineKind::Flag:
    case LineKind::Choice:
        inForm = writtenValue(row, std::string_view(t.constData(), t.size())).has_value();
        break;
    case LineKind::Time: {
        const std::optional<QTime> time = timeOf(t);
        inForm = time.has_value();
        v.time = time.value_or(QTime());
        break;
    }
    case LineKind::MonthDay:
        inForm = monthDayOf(t, v.month, v.day);
        break;
    case LineKind::Date:
        inForm = t.size() == 6 && std::all_of(t.begin(), t.end(), isDigit);
        break;
    case LineKind::Number: {
        const std::optional<int> number = numberOf(t, row);
        inForm = number.has_value();
        v.number = number.value_or(0);
        break;
    }
    case LineKind::Text:
    case LineKind::FileName:
    case LineKind::Directory:
        break;
    }
    if (!inForm)
        return std::nullopt;
    return v;
}

// Whether the run reads a line: every flag and choice and both countdowns
// always; a date, time or delay only where the record asks for it, so that a
// value the editor keeps behind a disabled box stops no run. Each of these
// hangs on lines above it, which are read first.
bool runReads(const ScheduleSettings &s, const RecordLine &row)
{
    switch (row.field) {
    case Field::kidobi_Date:
        return s.kidobi_Flag;
    case Field::kara_Time:
    case Field::made_Time:
        return s.kido_Mode == KidoMode::Sokuji;
    case Field::timer_Time:
        return s.kido_Mode == KidoMode::Timer;
    case Field::syuryo2_Time:
        return s.syuryo_Mode == SyuryoMode::Syuryo2;
    case Field::jikansa_Min:
        return s.dokuritu_Flag[row.entry];
    case Field::siteiymd_Date:
        return s.yoyakugo_Flag && s.yoyakugo_Mode == YoyakugoMode::Siteiymd;
    default:
        return row.kind != LineKind::Text && row.kind != LineKind::FileName &&
               row.kind != LineKind::Directory;
    }
}

// A line's value into the plan; flags, choices and texts the run takes from
// the record.
void take(Plan &plan, const RecordLine &row, const LineValue &v)
{
    switch (row.field) {
    case Field::kidobi_Date:
        plan.month = v.month;
        plan.day = v.day;
        break;
    case Field::kara_Time:
        plan.from = v.time;
        break;
    case Field::made_Time:
        plan.to = v.time;
        break;
    case Field::timer_Time:
        plan.timer = v.time;
        break;
    case Field::syuryo2_Time:
        plan.endAt = v.time;
        break;
    case Field::kensyutu_Sec:
        plan.beepSeconds = v.number;
        break;
    case Field::message_Sec:
        plan.messageSeconds = v.number;
        break;
    case Field::jikansa_Min:
        plan.delayMinutes[row.entry + 1] = v.number;
        break;
    default:
        break;
    }
}

} // namespace

std::variant<Plan, Damage> readPlan(const Lines &lines)
{
    if (lines.size() < kSettingsLineCount)
        return Damage{int(lines.size()) + 1, {}, true};
    Plan plan;
    linesToSettings(lines, plan.record);
    // In the file's order, so that the first bad line is the one named.
    for (const RecordLine &row : kRecordLines) {
        if (!runReads(plan.record, row))
            continue;
        const QByteArray &text = lines[row.line - 1];
        const std::optional<LineValue> value = valueOf(row, text);
        if (!value)
            return Damage{row.line, text, false};
        take(plan, row, *value);
    }
    return plan;
}

} // namespace nerubato::runner
