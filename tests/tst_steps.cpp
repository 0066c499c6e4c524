#include "editor/core/Steps.h"
#include "settings/Errors.h"

#include <QHash>
#include <QTest>

#include <functional>

using namespace nerubato;
using namespace nerubato::steps;

using Step = std::function<QString()>;
Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(nerubato::steps::StepRule)

// The arithmetic itself; every table row of the steppers runs through the real
// widgets in tst_editor.
class TestSteps : public QObject
{
    Q_OBJECT

private slots:
    void unreadableTextFails_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("message");
        const auto time = [](const char *t) { return Step([t] { return StepTime(t, 1); }); };
        const auto date = [](const char *t) { return Step([t] { return StepDate(t, 1, 2023); }); };
        const auto number = [](const char *t) {
            return Step([t] { return StepWrapped(t, 30, 3, 900); });
        };
        QTest::newRow("hour 24") << time("24:00") << "'24:00' は時刻ではありません";
        QTest::newRow("minute 60") << time("12:60") << "'12:60' は時刻ではありません";
        QTest::newRow("no colon") << time("1200") << "'1200' は時刻ではありません";
        QTest::newRow("empty time") << time("") << "'' は時刻ではありません";
        QTest::newRow("30 Feb") << date("02/30") << "'02/30' は日付ではありません";
        QTest::newRow("month 13") << date("13/01") << "'13/01' は日付ではありません";
        QTest::newRow("2/29 in a common year") << date("2/29") << "'2/29' は日付ではありません";
        QTest::newRow("dash") << date("12-31") << "'12-31' は日付ではありません";
        QTest::newRow("empty date to the arithmetic") << date("") << "'' は日付ではありません";
        QTest::newRow("letters") << number("abc") << "'abc' は整数ではありません";
        QTest::newRow("fraction") << number("1.5") << "'1.5' は整数ではありません";
        QTest::newRow("empty number") << number("") << "'' は整数ではありません";
        QTest::newRow("digits and a letter beyond 64 bits")
            << number("99999999999999999999x") << "'99999999999999999999x' は整数ではありません";
        QTest::newRow("replacement character of a lone lead byte")
            << time("12:0\uFFFD") << "'12:0\uFFFD' は時刻ではありません";
    }
    void unreadableTextFails()
    {
        QFETCH(Step, step);
        QFETCH(QString, message);
        try {
            step();
            QFAIL("no error");
        } catch (const ConvertError &e) {
            QCOMPARE(e.text(), message);
        }
    }

    // The stepper writes "02/29" itself, so it must step in any year; other
    // texts are real dates of the year given.
    void leapDayInEveryYear()
    {
        QCOMPARE(StepDate("02/29", 1, 2023), QStringLiteral("03/01"));
        QCOMPARE(StepDate("02/29", -1, 2023), QStringLiteral("02/28"));
        QCOMPARE(DateMonth("02/29", 2023), 2);
        QCOMPARE(DateDay("02/29", 2023), 29);
        QCOMPARE(StepDate("2/29", 1, 2024), QStringLiteral("03/01"));
        QCOMPARE(StepTime("7:5", 1), QStringLiteral("07:06"));
    }

    // Loaded numbers beyond 16 bits are stepped as they stand, not wrapped.
    void wideNumbers_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("result");
        QTest::newRow("clamp from 40000")
            << Step([] { return StepClamped("40000", 1, 0, 300); }) << "300";
        QTest::newRow("wrap from 32767")
            << Step([] { return StepWrapped("32767", 10, 0, 300); }) << "32477";
        QTest::newRow("clamp from -70000")
            << Step([] { return StepClamped("-70000", -1, 3, 900); }) << "3";
        QTest::newRow("wrap at the 64-bit top")
            << Step([] { return StepWrapped("9223372036854775807", 30, 3, 900); })
            << "9223372036854774937";
        QTest::newRow("clamp at the 64-bit top")
            << Step([] { return StepClamped("9223372036854775807", 1, 0, 300); }) << "300";
        QTest::newRow("clamp at the 64-bit bottom")
            << Step([] { return StepClamped("-9223372036854775808", -1, 0, 300); }) << "0";
        QTest::newRow("beyond 64 bits, upper arrow of the minutes") << Step([] {
            return smallStep({StepRule::Number, 0, 300, 10}, "99999999999999999999", 1);
        }) << "300";
        QTest::newRow("beyond 64 bits below, lower arrow of the seconds") << Step([] {
            return smallStep({StepRule::Number, 3, 900, 30}, "-99999999999999999999", -1);
        }) << "3";
        QTest::newRow("beyond 64 bits, right button wraps from the top") << Step([] {
            return bigStep({StepRule::Number, 0, 300, 10}, "+99999999999999999999");
        }) << "9223372036854775517";
    }
    void wideNumbers()
    {
        QFETCH(Step, step);
        QFETCH(QString, result);
        QCOMPARE(step(), result);
    }

    // Every row of the stepper tables, on the rule of the steppers named:
    // both arrows and the right button, each from the same text.
    void stepperTables_data()
    {
        QTest::addColumn<StepRule>("rule");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("up");
        QTest::addColumn<QString>("down");
        QTest::addColumn<QString>("right");
        const char *times[][4] = {{"00:00", "00:01", "23:59", "01:00"},
                                  {"23:59", "00:00", "23:58", "00:59"},
                                  {"23:30", "23:31", "23:29", "00:30"},
                                  {"00:59", "01:00", "00:58", "01:59"}};
        for (const char *name : {"kara", "made", "timer", "syuryo2"})
            for (auto &t : times)
                QTest::addRow("%s %s", name, t[0]) << kTimeRule << t[0] << t[1] << t[2] << t[3];
        const char *dates[][4] = {
            {"01/01", "01/02", "12/31", "02/01"}, {"12/31", "01/01", "12/30", "01/31"},
            {"02/28", "02/29", "02/27", "03/28"}, {"02/29", "03/01", "02/28", "03/29"},
            {"03/01", "03/02", "02/29", "04/01"}, {"01/29", "01/30", "01/28", "02/29"},
            {"01/31", "02/01", "01/30", "02/29"}, {"03/31", "04/01", "03/30", "04/30"},
            {"07/31", "08/01", "07/30", "08/31"}, {"12/15", "12/16", "12/14", "01/15"},
            {"", "01/01", "12/30", "01/31"}};
        for (auto &d : dates)
            QTest::addRow("date '%s'", d[0]) << kDateRule << d[0] << d[1] << d[2] << d[3];
        const char *numbers[][5] = {
            {"message", "3", "4", "3", "33"},        {"message", "870", "871", "869", "900"},
            {"message", "871", "872", "870", "3"},   {"message", "900", "900", "899", "30"},
            {"kensyutu", "0", "1", "0", "30"},       {"kensyutu", "871", "872", "870", "1"},
            {"jikansa", "0", "1", "0", "10"},        {"jikansa", "295", "296", "294", "5"},
            {"jikansa", "300", "300", "299", "10"},  {"message", "0", "3", "3", "30"},
            {"jikansa", "1000", "300", "300", "710"}};
        const QHash<QString, StepRule> numberRules = {{"message", kMessageSecondsRule},
                                                      {"kensyutu", kBeepSecondsRule},
                                                      {"jikansa", kMinutesRule}};
        for (auto &n : numbers)
            QTest::addRow("%s %s", n[0], n[1])
                << numberRules.value(n[0]) << n[1] << n[2] << n[3] << n[4];
    }

    void stepperTables()
    {
        QFETCH(StepRule, rule);
        QFETCH(QString, before);
        QTEST(smallStep(rule, before, +1), "up");
        QTEST(smallStep(rule, before, -1), "down");
        QTEST(bigStep(rule, before), "right");
    }

    void monthJumpLandsOnTheNextMonth()
    {
        // Every day of the year lands on the same day of the next month, or
        // on its last day when that month is shorter.
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= MonthDays[m]; ++d) {
                const QString from = QStringLiteral("%1/%2")
                                         .arg(m, 2, 10, QLatin1Char('0'))
                                         .arg(d, 2, 10, QLatin1Char('0'));
                const int next = m % 12 + 1;
                const QString to = QStringLiteral("%1/%2")
                                       .arg(next, 2, 10, QLatin1Char('0'))
                                       .arg(qMin(d, MonthDays[next]), 2, 10, QLatin1Char('0'));
                QCOMPARE(StepDate(from, monthJump(m, d), 2024), to);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSteps)
#include "tst_steps.moc"
