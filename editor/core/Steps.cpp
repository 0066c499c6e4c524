#include "Steps.h"

#include "settings/Errors.h"

#include <QDate>
#include <QRegularExpression>

#include <limits>

namespace nerubato::steps {

namespace {

struct MonthDay
{
    int month;
    int day;
};

bool readPair(const QString &text, QChar separator, int &first, int &second)
{
    static const QRegularExpression time(QStringLiteral("^([0-9]{1,2}):([0-9]{1,2})$"));
    static const QRegularExpression date(QStringLiteral("^([0-9]{1,2})/([0-9]{1,2})$"));
    const QRegularExpressionMatch m = (separator == u':' ? time : date).match(text);
    if (!m.hasMatch())
        return false;
    first = m.captured(1).toInt();
    second = m.captured(2).toInt();
    return true;
}

MonthDay readDate(const QString &text, int year)
{
    // The stepper's own leap day: valid whatever year it is now.
    if (text == QLatin1String("02/29"))
        return {2, 29};
    int month = 0;
    int day = 0;
    if (!readPair(text, u'/', month, day) || !QDate(year, month, day).isValid())
        throw ConvertError::notDate(text);
    return {month, day};
}

// An integer too long for 64 bits stands at the nearer end of them: the clamp
// and wrap rules then hold for it as for any other number out of range.
qint64 readInteger(const QString &text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    if (ok)
        return value;
    static const QRegularExpression integer(QStringLiteral("^\\s*([+-]?)[0-9]+\\s*$"));
    const QRegularExpressionMatch m = integer.match(text);
    if (!m.hasMatch())
        throw ConvertError::notInteger(text);
    return m.captured(1) == u"-" ? std::numeric_limits<qint64>::min()
                                 : std::numeric_limits<qint64>::max();
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

int currentYear()
{
    return QDate::currentDate().year();
}

} // namespace

QString StepTime(const QString &text, int minutes)
{
    int hours = 0;
    int mins = 0;
    if (!readPair(text, u':', hours, mins) || hours > 23 || mins > 59)
        throw ConvertError::notTime(text);
    int v = hours * 60 + mins + minutes;
    if (v >= kDayMinutes)
        v -= kDayMinutes;
    if (v < 0)
        v += kDayMinutes;
    return twoDigits(v / 60) + u':' + twoDigits(v % 60);
}

QString StepDate(const QString &text, int days, int year)
{
    const MonthDay date = readDate(text, year);
    int d = MonthStart[date.month] + date.day + days;
    if (d > kYearDays)
        d -= kYearDays;
    if (d <= 0)
        d += kYearDays;
    int month = 1;
    while (month < 12 && d > MonthStart[month + 1])
        ++month;
    return twoDigits(month) + u'/' + twoDigits(d - MonthStart[month]);
}

QString StepDate(const QString &text, int days)
{
    return StepDate(text, days, currentYear());
}

int DateMonth(const QString &text, int year)
{
    return readDate(text, year).month;
}
int DateMonth(const QString &text)
{
    return DateMonth(text, currentYear());
}
int DateDay(const QString &text, int year)
{
    return readDate(text, year).day;
}
int DateDay(const QString &text)
{
    return DateDay(text, currentYear());
}

// A loaded number may lie anywhere in 64 bits; the comparisons are arranged so
// that adding a small step never overflows.
QString StepClamped(const QString &text, int delta, int minimum, int maximum)
{
    const qint64 v = readInteger(text);
    qint64 result;
    if (v > qint64(maximum) - delta)
        result = maximum;
    else if (v < qint64(minimum) - delta)
        result = minimum;
    else
        result = v + delta;
    if (result < minimum)
        result = minimum;
    return QString::number(result);
}

QString StepWrapped(const QString &text, int step, int minimum, int maximum)
{
    const qint64 v = readInteger(text);
    qint64 result;
    if (v > qint64(maximum) - step)
        result = v + (qint64(step) - maximum);
    else
        result = v + step;
    if (result < minimum)
        result = minimum;
    return QString::number(result);
}

QString rangeText(const StepRule &rule)
{
    switch (rule.kind) {
    case StepRule::Time:
        return QStringLiteral("00:00～23:59");
    case StepRule::Date:
        return QStringLiteral("01/01～12/31");
    case StepRule::Number:
        break;
    }
    return QStringLiteral("%1～%2").arg(rule.minimum).arg(rule.maximum) +
           QString::fromUtf16(rule.unit);
}

int monthJump(int month, int day)
{
    const int length = MonthDays[month];
    const int next = MonthDays[month % 12 + 1];
    return next >= day ? length : length + next - day;
}

namespace {
// An empty date field starts from the last day of the year.
QString dateText(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("12/31") : text;
}
} // namespace

QString smallStep(const StepRule &rule, const QString &text, int direction)
{
    switch (rule.kind) {
    case StepRule::Time:
        return StepTime(text, direction);
    case StepRule::Date:
        return StepDate(dateText(text), direction);
    case StepRule::Number:
        break;
    }
    return StepClamped(text, direction, rule.minimum, rule.maximum);
}

QString bigStep(const StepRule &rule, const QString &text)
{
    switch (rule.kind) {
    case StepRule::Time:
        return StepTime(text, 60);
    case StepRule::Date: {
        const QString date = dateText(text);
        return StepDate(date, monthJump(DateMonth(date), DateDay(date)));
    }
    case StepRule::Number:
        break;
    }
    return StepWrapped(text, rule.bigStep, rule.minimum, rule.maximum);
}

} // namespace nerubato::steps
