#include "runner/core/History.h"
#include "runner/core/NextStart.h"
#include "runner/core/Report.h"
#include "runner/core/Rules.h"
#include "settings/Cp932.h"
#include "settings/SettingsFile.h"
#include "testcore.h"

#include <QTest>

using namespace nerubato;
using namespace nerubato::runner;
using V = Verdict;
Q_DECLARE_METATYPE(nerubato::runner::Verdict)

namespace {

Plan plan(const QString &changes)
{
    return std::get<Plan>(readPlan(test::changedLines(changes)));
}

const QDateTime kWednesday(QDate(2026, 12, 9), QTime(10, 0));

// "2026-12-09 10:00", or "10:00" on that Wednesday; seconds may follow.
QDateTime when(const QString &text)
{
    return QDateTime::fromString(text.contains(u'-') ? text : "2026-12-09 " + text,
                                 text.count(u':') == 2 ? u"yyyy-MM-dd HH:mm:ss" : u"yyyy-MM-dd HH:mm");
}

// The changes of a row, less its "ran=DATE" (the day on record) and "marker".
Plan planOf(const QString &changes, std::optional<QDate> &lastRun)
{
    QStringList lines;
    for (const QString &change : changes.split(u';', Qt::SkipEmptyParts)) {
        if (change.startsWith(u"ran="))
            lastRun = QDate::fromString(change.mid(4), Qt::ISODate);
        else if (change != u"marker")
            lines << change;
    }
    return plan(lines.join(u';'));
}

// A history block of one line, opened at hh:mm:ss.
QByteArray block(const char *at, const char *text = "x")
{
    return QByteArray("2026/12/09 ") + at + ' ' + text + "\r\n";
}

} // namespace

class TestRunnerCore : public QObject
{
    Q_OBJECT

private slots:
    void registrationIsCheckedLineByLine_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<int>("badLine"); // 0: carried out
        QTest::addColumn<bool>("missing");
        QTest::newRow("untouched") << "" << 0 << false;
        QTest::newRow("48 lines") << "-48" << 49 << true;
        QTest::newRow("empty") << "-0" << 1 << true;
        QTest::newRow("a flag spelled True") << "1=True" << 1 << false;
        QTest::newRow("end mode unknown") << "35=syuryo4" << 35 << false;
        QTest::newRow("reserved mode empty") << "48=" << 48 << false;
        QTest::newRow("02/29 is a date") << "1=true;2=02/29" << 0 << false;
        QTest::newRow("02/30 is none") << "1=true;2=02/30" << 2 << false;
        QTest::newRow("month 13") << "1=true;2=13/01" << 2 << false;
        QTest::newRow("one-digit month") << "1=true;2=2/28" << 2 << false;
        QTest::newRow("date behind an unticked box") << "2=xx" << 0 << false;
        QTest::newRow("24:00") << "11=24:00" << 11 << false;
        QTest::newRow("9:00") << "12=9:00" << 12 << false;
        QTest::newRow("timer 12:60") << "10=false;13=12:60" << 13 << false;
        QTest::newRow("window unused by a timer start") << "10=false;11=x" << 0 << false;
        QTest::newRow("message under 3") << "15=2" << 15 << false;
        QTest::newRow("leading zero") << "15=030" << 15 << false;
        QTest::newRow("beep over 900") << "14=901" << 14 << false;
        QTest::newRow("beep 0") << "14=0" << 0 << false;
        QTest::newRow("delay over 300") << "31=true;41=301" << 41 << false;
        QTest::newRow("delay unused") << "41=x" << 0 << false;
        QTest::newRow("end time") << "35=syuryo2;36=7:00" << 36 << false;
        QTest::newRow("five-digit date word") << "47=true;48=siteiymd;49=97011" << 49 << false;
        QTest::newRow("date word of the start") << "47=true;49=x" << 0 << false;
        QTest::newRow("the first bad line is named") << "11=x;3=1" << 3 << false;
    }
    void registrationIsCheckedLineByLine()
    {
        QFETCH(QString, changes);
        QFETCH(int, badLine);
        QFETCH(bool, missing);
        const auto read = readPlan(test::changedLines(changes));
        if (badLine == 0) {
            QVERIFY(std::holds_alternative<Plan>(read));
            return;
        }
        QVERIFY(std::holds_alternative<Damage>(read));
        QCOMPARE(std::get<Damage>(read).line, badLine);
        QCOMPARE(std::get<Damage>(read).missing, missing);
    }

    // "ran=DATE" is the day on record, "marker" the test run's marker; times
    // are on 2026-12-09 (a Wednesday) unless a date is given.
    void conditions_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("now");
        QTest::addColumn<V>("verdict");
        QTest::addColumn<QString>("waitUntil");
        const auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };
        row("untouched") << "" << "10:00" << V::Run << "";
        row("marker skips all") << "marker;1=true;2=12/10;10=false" << "10:00" << V::Run << "";
        row("not the date") << "1=true;2=12/10" << "10:00" << V::WrongDate << "";
        row("02/29 in a leap year") << "1=true;2=02/29" << "2028-02-29 10:00" << V::Run << "";
        row("02/29 out of one") << "1=true;2=02/29" << "2027-02-28 10:00" << V::WrongDate << "";
        row("no weekday ticked") << "37=true" << "10:00" << V::NoWeekday << "";
        row("Wednesday ticked") << "37=true;6=true" << "10:00" << V::Run << "";
        row("Sunday ticked, Sunday") << "37=true;3=true" << "2026-12-13 10:00" << V::Run << "";
        row("Thursday only") << "37=true;7=true" << "10:00" << V::WrongWeekday << "";
        row("date before weekday") << "1=true;2=12/10;37=true" << "10:00" << V::WrongDate << "";
        row("window's last minute") << "11=08:00;12=09:00" << "09:00:59" << V::Run << "";
        row("after the window") << "11=08:00;12=09:00" << "09:01" << V::OutsideWindow << "";
        row("across midnight, late") << "11=22:00;12=02:00" << "23:30" << V::Run << "";
        row("across midnight, early") << "11=22:00;12=02:00" << "01:59" << V::Run << "";
        row("across midnight, noon") << "11=22:00;12=02:00" << "12:00" << V::OutsideWindow << "";
        row("once, ran today") << "38=true;ran=2026-12-09" << "10:00" << V::AlreadyRun << "";
        row("once, ran yesterday") << "38=true;ran=2026-12-08" << "10:00" << V::Run << "";
        row("timer ahead") << "10=false;13=10:30" << "10:00" << V::Wait << "10:30";
        row("timer this minute") << "10=false;13=10:00" << "10:00:40" << V::Run << "";
        row("timer passed") << "10=false;13=09:59" << "10:00" << V::TimerPassed << "";
    }
    void conditions()
    {
        QFETCH(QString, changes);
        QFETCH(QString, now);
        QFETCH(V, verdict);
        QFETCH(QString, waitUntil);
        std::optional<QDate> lastRun;
        const Plan p = planOf(changes, lastRun);
        const bool marker = changes.contains(u"marker");
        const Decision d = decide(p, when(now), lastRun, marker);
        QCOMPARE(d.verdict, verdict);
        QCOMPARE(d.skipped, marker);
        if (!waitUntil.isEmpty())
            QCOMPARE(d.at, when(waitUntil));
    }

    void dayOnRecord_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<bool>("marker");
        QTest::addColumn<int>("record");
        QTest::newRow("not once a day") << "" << false << int(DayRecord::Never);
        QTest::newRow("when started") << "38=true" << false << int(DayRecord::WhenStarted);
        QTest::newRow("when all ended") << "38=true;39=true" << false << int(DayRecord::WhenAllEnded);
        QTest::newRow("test run") << "38=true" << true << int(DayRecord::Never);
        QTest::newRow("timer start") << "38=true;10=false" << false << int(DayRecord::Never);
    }
    void dayOnRecord()
    {
        QFETCH(QString, changes);
        QFETCH(bool, marker);
        QFETCH(int, record);
        QCOMPARE(int(dayRecord(plan(changes), marker)), record);
    }

    void dateWordIsReplacedByCharacters_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("file name") << QByteArray("yymmdd.txt") << QByteArray("261209.txt");
        QTest::newRow("twice") << QByteArray("a-yymmdd-yymmdd") << QByteArray("a-261209-261209");
        QTest::newRow("upper case") << QByteArray("YYMMDD") << QByteArray("YYMMDD");
        QTest::newRow("after 日記\\") << QByteArray("\x93\xfa\x8b\x4c\\yymmdd")
                                       << QByteArray("\x93\xfa\x8b\x4c\\261209");
        QTest::newRow("ペ takes the first y") << QByteArray("\x83yymmdd") << QByteArray("\x83yymmdd");
        QTest::newRow("after ソ") << QByteArray("\x83\x5cyymmdd") << QByteArray("\x83\x5c" "261209");
    }
    void dateWordIsReplacedByCharacters()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(replaceDateWord(text, "261209"), expected);
    }

    void programPathReadsQuotes_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("program");
        QTest::newRow("as Explorer copies it") << QByteArray(R"("C:\Program Files\a.exe")")
                                               << QByteArray(R"(C:\Program Files\a.exe)");
        QTest::newRow("bare") << QByteArray("a.exe") << QByteArray("a.exe");
        QTest::newRow("one quote") << QByteArray("\"a.exe") << QByteArray("\"a.exe");
        QTest::newRow("quotes alone") << QByteArray("\"\"") << QByteArray();
    }
    void programPathReadsQuotes()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, program);
        QCOMPARE(programPath(path), program);
    }

    void dateWordStandsFor_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QByteArray>("word");
        QTest::newRow("off") << "" << QByteArray();
        QTest::newRow("the start's date") << "47=true" << QByteArray("261209");
        QTest::newRow("a date given") << "47=true;48=siteiymd;49=970101" << QByteArray("970101");
    }
    void dateWordStandsFor()
    {
        QFETCH(QString, changes);
        QFETCH(QByteArray, word);
        QCOMPARE(dateWord(plan(changes), kWednesday.date()), word);
    }

    // Stages: E empty, P pending, R running, D ended (done), F failed; the
    // minute each was started after the batch's start; "now" in minutes.
    void programsInOrder_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("stages");
        QTest::addColumn<QList<int>>("startedAt");
        QTest::addColumn<int>("now");
        QTest::addColumn<QList<int>>("due");
        const QList<int> none;
        const QString two = "16=a;17=b";
        QTest::newRow("first at once") << two << "PPEEE" << none << 0 << QList<int>{0};
        QTest::newRow("after the first ended") << two << "DPEEE" << QList<int>{0} << 3 << QList<int>{1};
        QTest::newRow("not while it runs") << two << "RPEEE" << QList<int>{0} << 3 << none;
        QTest::newRow("after it failed") << two << "FPEEE" << QList<int>{0} << 0 << QList<int>{1};
        QTest::newRow("independent, early") << two + ";31=true;41=5" << "RPEEE" << QList<int>{1}
                                            << 5 << none;
        QTest::newRow("independent, on time") << two + ";31=true;41=5" << "RPEEE" << QList<int>{1}
                                              << 6 << QList<int>{1};
        QTest::newRow("no entry above") << "17=b" << "EPEEE" << none << 0 << QList<int>{1};
        QTest::newRow("no entry above, delay") << "17=b;31=true;41=2" << "EPEEE" << none << 1 << none;
        QTest::newRow("waits over an empty entry") << "16=a;18=c" << "REPEE" << QList<int>{0} << 9
                                                   << none;
        QTest::newRow("after it, over the empty one") << "16=a;18=c" << "DEPEE" << QList<int>{0}
                                                      << 9 << QList<int>{2};
    }
    void programsInOrder()
    {
        QFETCH(QString, changes);
        QFETCH(QString, stages);
        QFETCH(QList<int>, startedAt);
        QFETCH(int, now);
        QFETCH(QList<int>, due);
        const Plan p = plan(changes);
        Batch batch = newBatch(p);
        const QString kStages = "EPRDF";
        for (int i = 0, started = 0; i < 5; ++i) {
            batch[i].stage = Stage(kStages.indexOf(stages[i]));
            if (batch[i].stage > Stage::Pending)
                batch[i].startedAt = kWednesday.addSecs(startedAt[started++] * 60);
        }
        QCOMPARE(dueEntries(p, batch, kWednesday, kWednesday.addSecs(now * 60)), due);
    }

    // The 60-second warning ends at the set time; with less than a minute
    // left, it still lasts its minute.
    void endAtTheSetTime_data()
    {
        QTest::addColumn<QString>("endAt");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("warnAt");
        QTest::addColumn<QString>("expected");
        QTest::newRow("later today") << "23:59" << "10:00" << "23:58" << "23:59";
        QTest::newRow("passed: tomorrow") << "07:00" << "10:00" << "2026-12-10 06:59" << "2026-12-10 07:00";
        QTest::newRow("30 s left") << "10:01" << "10:00:30" << "10:00:30" << "10:01:30";
        QTest::newRow("this very minute") << "10:00" << "10:00" << "2026-12-10 09:59" << "2026-12-10 10:00";
    }
    void endAtTheSetTime()
    {
        QFETCH(QString, endAt);
        QFETCH(QString, from);
        QFETCH(QString, warnAt);
        QFETCH(QString, expected);
        QCOMPARE(endTimes(plan("35=syuryo2;36=" + endAt), when(from), 60),
                 (EndTimes{when(warnAt), when(expected)}));
    }

    // Stages as in programsInOrder; each program's start as "MM-dd hh:mm:ss".
    void dayOnRecordFollowsTheStartedPrograms_data()
    {
        QTest::addColumn<bool>("whenAllEnded");
        QTest::addColumn<QString>("stages");
        QTest::addColumn<QStringList>("startedAt");
        QTest::addColumn<int>("move");
        QTest::addColumn<QDate>("day");
        const QDate none;
        const auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };
        row("started: written") << false << "RPEEE" << QStringList{"12-09 10:00:00"} << int(DayMove::Write)
                                << QDate(2026, 12, 9);
        row("countdown past midnight") << false << "REEEE" << QStringList{"12-10 00:00:01"}
                                       << int(DayMove::Write) << QDate(2026, 12, 10);
        row("the first that started") << false << "FREEE" << QStringList{"12-09 23:59:59", "12-10 00:00:05"}
                                       << int(DayMove::Write) << QDate(2026, 12, 10);
        row("only failed so far") << false << "FPEEE" << QStringList{"12-09 10:00:00"} << int(DayMove::Nothing)
                                  << none;
        row("all failed: free") << false << "FFEEE" << QStringList{"12-09 10:00:00", "12-09 10:00:00"}
                                << int(DayMove::LeaveFree) << none;
        row("all ended") << true << "DFEEE" << QStringList{"12-09 10:00:00", "12-09 10:05:00"}
                         << int(DayMove::Write) << QDate(2026, 12, 9);
        row("one still running") << true << "RDEEE" << QStringList{"12-09 10:00:00", "12-09 10:00:00"}
                                 << int(DayMove::Nothing) << none;
        row("none started, all over") << true << "FEEEE" << QStringList{"12-09 10:00:00"}
                                      << int(DayMove::LeaveFree) << none;
    }
    void dayOnRecordFollowsTheStartedPrograms()
    {
        QFETCH(bool, whenAllEnded);
        QFETCH(QString, stages);
        QFETCH(QStringList, startedAt);
        QFETCH(int, move);
        QFETCH(QDate, day);
        Batch batch;
        for (int i = 0, started = 0; i < 5; ++i) {
            batch[i].stage = Stage(QStringLiteral("EPRDF").indexOf(stages[i]));
            if (batch[i].stage > Stage::Pending)
                batch[i].startedAt = QDateTime::fromString("2026-" + startedAt[started++], u"yyyy-MM-dd HH:mm:ss");
        }
        const DayStep step = dayStep(whenAllEnded ? DayRecord::WhenAllEnded : DayRecord::WhenStarted, batch);
        QCOMPARE(int(step.move), move);
        QCOMPARE(step.day, day);
    }

    // "now" as in conditions, on Wednesday 2026-12-09 unless a date is given.
    void nextStart_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("now");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };
        const QString between = "の間にパソコンを起動したとき";
        row("window ahead today") << "11=12:00;12=13:00" << "10:00"
                                  << "次回: 2026/12/09 (水) 12:00～13:00 " + between;
        row("window passed: tomorrow") << "11=08:00;12=09:00" << "10:00"
                                       << "次回: 2026/12/10 (木) 08:00～09:00 " + between;
        row("inside it, every start") << "11=08:00;12=11:00" << "10:00"
                                      << "次回: 2026/12/09 (水) 08:00～11:00 " + between;
        row("inside it, done today") << "11=08:00;12=11:00;38=true;ran=2026-12-09" << "10:00"
                                     << "次回: 2026/12/10 (木) 08:00～11:00 " + between;
        row("past midnight, evening left") << "11=22:00;12=02:00" << "10:00"
                                           << "次回: 2026/12/09 (水) 22:00～23:59 " + between;
        row("past midnight, done today") << "11=22:00;12=02:00;38=true;ran=2026-12-09" << "23:30"
                                         << "次回: 2026/12/10 (木) 00:00～02:00 または 22:00～23:59 " + between;
        row("Mondays") << "37=true;4=true" << "10:00" << "次回: 2026/12/14 (月) 00:00～23:59 " + between;
        row("02/29") << "1=true;2=02/29" << "10:00" << "次回: 2028/02/29 (火) 00:00～23:59 " + between;
        row("timer ahead") << "10=false;13=10:30" << "10:00"
                           << "次回: 2026/12/09 (水) 10:30 のタイマー起動（それまでにパソコンを起動したとき）";
        row("timer this minute") << "10=false;13=10:00" << "10:00:59"
                                 << "次回: 2026/12/09 (水) 10:00 のタイマー起動（それまでにパソコンを起動したとき）";
        row("timer passed") << "10=false;13=09:00" << "10:00"
                            << "次回: 2026/12/10 (木) 09:00 のタイマー起動（それまでにパソコンを起動したとき）";
        row("no weekday ticked") << "37=true" << "10:00" << "次回: ありません（起動曜日が1つも選ばれていません）";
        row("02/29 never a Sunday") << "1=true;2=02/29;37=true;3=true" << "10:00"
                                    << "次回: ありません（起動日 02/29 が起動曜日に当たる日は4年以内にありません）";
    }
    void nextStart()
    {
        QFETCH(QString, changes);
        QFETCH(QString, now);
        QFETCH(QString, expected);
        std::optional<QDate> lastRun;
        const Plan p = planOf(changes, lastRun);
        QCOMPARE(nextStartLine(p, when(now), lastRun), expected);
    }

    // Blocks named by their moment, each one line.
    void historyKeepsEveryStart_data()
    {
        QTest::addColumn<QByteArray>("history");
        QTest::addColumn<QByteArray>("previous");
        QTest::addColumn<QByteArray>("expected"); // with block("10:00:09", "new") in it
        const QByteArray a = block("09:00:00"), b = block("09:30:00"), fresh = block("10:00:09", "new");
        const QByteArray earlier = block("10:00:09", "waiting");
        QTest::newRow("the first") << QByteArray() << QByteArray() << fresh;
        QTest::newRow("after the newest") << a + "\r\n" + b << QByteArray() << a + "\r\n" + b + "\r\n" + fresh;
        QTest::newRow("in place of its earlier form") << a + "\r\n" + earlier + "\r\n" + b << earlier
                                                      << a + "\r\n" + fresh + "\r\n" + b;
        QTest::newRow("earlier form gone") << a << earlier << a + "\r\n" + fresh;
        QTest::newRow("blank lines and LF alone") << "\r\n" + a + "\r\n\r\n\n" << QByteArray()
                                                  << a + "\r\n" + fresh;
        QTest::newRow("no block before the first") << "notes\r\n" + a << QByteArray() << a + "\r\n" + fresh;
    }
    void historyKeepsEveryStart()
    {
        QFETCH(QByteArray, history);
        QFETCH(QByteArray, previous);
        QFETCH(QByteArray, expected);
        QCOMPARE(withBlock(history, previous, block("10:00:09", "new")), expected);
    }

    void historyIsBounded_data()
    {
        QTest::addColumn<int>("blocks");
        QTest::addColumn<int>("lineBytes");
        QTest::addColumn<int>("kept"); // the new one among them
        QTest::newRow("200 starts") << 199 << 10 << 200;
        QTest::newRow("201 starts") << 200 << 10 << 200;
        QTest::newRow("1 MiB") << 20 << 100000 << 10;
        QTest::newRow("a new block alone over it") << 3 << 2000000 << 1;
    }
    void historyIsBounded()
    {
        QFETCH(int, blocks);
        QFETCH(int, lineBytes);
        QFETCH(int, kept);
        QList<QByteArray> old;
        for (int i = 0; i < blocks; ++i)
            old << block("09:00:00", QByteArray(lineBytes, 'a' + i % 26).constData());
        const QByteArray fresh = block("10:00:00", QByteArray(lineBytes, '!').constData());
        const QByteArray history = withBlock(old.join("\r\n"), {}, fresh);
        QCOMPARE(history.count("2026/12/09 "), kept);
        QVERIFY(history.endsWith(fresh));
        QVERIFY(kept == 1 || history.size() <= kHistoryBytes);
        QVERIFY(history.startsWith(old.value(blocks - kept + 1, fresh)));
    }

    // A damaged line is quoted by characters, and stays CP932.
    void damagedLineIsQuoted_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("quoted");
        // 30 ソ: 60 bytes, shown as the 20 characters that fit in 40.
        QTest::newRow("long") << QByteArray("\x83\x5c").repeated(30) << QString(20, QChar(0x30BD)) + "...";
        QTest::newRow("a BOM") << QByteArray("\xef\xbb\xbftrue") << "<EF><BB>ｿtrue";
        QTest::newRow("a stray lead byte") << QByteArray("a\x81") << "a<81>";
    }
    void damagedLineIsQuoted()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, quoted);
        const QByteArray text = damageText({13, line, false});
        QCOMPARE(cp932::decode(text), QStringLiteral("kidodata.dat の 13 行目が正しくありません: \"%1\"").arg(quoted));
        QVERIFY(!cp932::decode(text).contains(QChar::ReplacementCharacter));
    }
};

QTEST_GUILESS_MAIN(TestRunnerCore)
#include "tst_runner_core.moc"
