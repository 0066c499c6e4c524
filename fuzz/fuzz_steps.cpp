// The stepper arithmetic on any text. Properties:
//  - an unreadable text fails with ConvertError and nothing else;
//  - what a step writes is always in the stepper's own form and range;
//  - a small step up then down (and down then up) gives back the form the
//    step wrote, so stepping never drifts.

#include "editor/core/Steps.h"
#include "fuzzcheck.h"
#include "settings/Errors.h"

#include <QRegularExpression>
#include <QString>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>

using namespace nerubato;
using namespace nerubato::steps;

namespace {

template <typename F> auto attempt(F &&f) -> std::optional<decltype(f())>
{
    try {
        return f();
    } catch (const ConvertError &) {
        return std::nullopt;
    }
}

bool isTime(const QString &t)
{
    static const QRegularExpression form(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]$"));
    return form.match(t).hasMatch();
}

bool isDate(const QString &t)
{
    static const QRegularExpression form(QStringLiteral("^(0[1-9]|1[0-2])/([0-2][0-9]|3[01])$"));
    if (!form.match(t).hasMatch())
        return false;
    const int month = t.left(2).toInt();
    const int day = t.mid(3).toInt();
    return day >= 1 && day <= MonthDays[month];
}

bool isNumberIn(const QString &t, int minimum, int maximum)
{
    static const QRegularExpression form(QStringLiteral("^(0|-?[1-9][0-9]*)$"));
    if (!form.match(t).hasMatch())
        return false;
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok);
    return ok && v >= minimum && v <= maximum;
}

void checkTime(const QString &text, int minutes)
{
    const auto stepped = attempt([&] { return StepTime(text, minutes); });
    if (!stepped)
        return;
    FUZZ_CHECK(isTime(*stepped));
    FUZZ_CHECK(StepTime(StepTime(*stepped, 1), -1) == *stepped);
    FUZZ_CHECK(StepTime(StepTime(*stepped, -1), 1) == *stepped);
}

void checkDate(const QString &text, int days, int year)
{
    const auto stepped = attempt([&] { return StepDate(text, days, year); });
    if (!stepped)
        return;
    FUZZ_CHECK(isDate(*stepped));
    FUZZ_CHECK(StepDate(StepDate(*stepped, 1, year), -1, year) == *stepped);
    const auto month = attempt([&] { return DateMonth(text, year); });
    const auto day = attempt([&] { return DateDay(text, year); });
    FUZZ_CHECK(month && day);
    FUZZ_CHECK(*month >= 1 && *month <= 12 && *day >= 1 && *day <= MonthDays[*month]);
    const int jump = monthJump(*month, *day);
    const QString next = StepDate(text, jump, year);
    FUZZ_CHECK(isDate(next));
    FUZZ_CHECK(next.left(2).toInt() == *month % 12 + 1);
}

void checkNumber(const QString &text, int minimum, int maximum, int step)
{
    const auto up = attempt([&] { return StepClamped(text, 1, minimum, maximum); });
    const auto down = attempt([&] { return StepClamped(text, -1, minimum, maximum); });
    const auto big = attempt([&] { return StepWrapped(text, step, minimum, maximum); });
    // Readability is the text's, not the direction's.
    FUZZ_CHECK(up.has_value() == down.has_value() && up.has_value() == big.has_value());
    if (!up)
        return;
    FUZZ_CHECK(isNumberIn(*up, minimum, maximum));
    FUZZ_CHECK(isNumberIn(*down, minimum, maximum));
    if (isNumberIn(text, minimum, maximum))
        FUZZ_CHECK(isNumberIn(*big, minimum, maximum));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int which = in.ConsumeIntegralInRange(0, 2);
    const int small = in.ConsumeBool() ? 1 : -1;
    const int year = in.ConsumeIntegralInRange(1999, 2101);
    const QString text = QString::fromUtf8(in.ConsumeRemainingBytesAsString());
    switch (which) {
    case 0:
        checkTime(text, small);
        checkTime(text, 60);
        break;
    case 1:
        checkDate(text, small, year);
        break;
    default:
        checkNumber(text, 3, 900, 30);
        checkNumber(text, 0, 900, 30);
        checkNumber(text, 0, 300, 10);
        break;
    }
    return 0;
}
