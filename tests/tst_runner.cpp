#include "platform/Platform.h"
#include "runner/Run.h"
#include "runner/RunnerWindow.h"
#include "settings/Cp932.h"
#include "settings/RunnerContract.h"
#include "settings/SettingsFile.h"
#include "testui.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>

using namespace nerubato;
using namespace nerubato::runner;

namespace {

const QDateTime kStart(QDate(2026, 12, 9), QTime(10, 0));

QStringList report()
{
    QStringList lines;
    QFile file(QDir::current().filePath(kReportFile));
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : splitLines(file.readAll()))
            lines << cp932::decode(line);
    }
    return lines;
}

RunnerWindow *shownWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<RunnerWindow *>(w); window && window->isVisible())
            return window;
    }
    return nullptr;
}

void press(const char *button)
{
    QVERIFY(shownWindow());
    shownWindow()->findChild<QPushButton *>(QString::fromLatin1(button))->click();
}

// A run of the registration in the work directory on a fake platform and a
// clock the test moves.
struct Runner
{
    explicit Runner(const QString &changes, bool marker = false)
    {
        Start start;
        start.folder = StartFolder(dir.path());
        start.at = now;
        start.marker = marker;
        start.plan = std::get<Plan>(readPlan(test::changedLines(changes)));
        start.decision = decide(*start.plan, now, std::nullopt, marker);
        run = std::make_unique<Run>(platform, [this] { return now; }, std::move(start));
        QObject::connect(run.get(), &Run::finished, run.get(), [this] { finished = true; });
        run->begin();
    }
    // Lets the seconds pass, the run looking at the clock once a second.
    void after(int seconds)
    {
        for (int i = 0; i < seconds; ++i)
            jump(1);
    }
    // Moves the clock at once: a wait the test skips, or the clock set.
    void jump(int seconds)
    {
        now = now.addSecs(seconds);
        run->tick();
    }

    test::WorkDir dir;
    test::FakePlatform platform;
    QDateTime now = kStart;
    std::unique_ptr<Run> run;
    bool finished = false;
};

} // namespace

class TestRunner : public QObject
{
    Q_OBJECT

private slots:
    void startsNothingAndSaysWhy_data()
    {
        QTest::addColumn<QString>("changes"); // "none": no registration
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("conditions");
        QTest::addColumn<bool>("marker"); // a test run's, which goes all the same
        QTest::newRow("not registered") << "none" << "設定データが登録されていないため"
                                        << "起動条件: kidodata.dat がありません" << true;
        QTest::newRow("short") << "-48" << "登録データに誤りがあるため"
                               << "起動条件: kidodata.dat の 49 行目がありません（49 行が必要です）"
                               << false;
        QTest::newRow("damaged") << "10=false;13=25:00" << "登録データに誤りがあるため"
                                 << "起動条件: kidodata.dat の 13 行目が正しくありません: \"25:00\""
                                 << true;
        QTest::newRow("outside the window") << "11=08:00;12=09:00;16=a.exe"
                                            << "起動条件を満たしていないため"
                                            << "起動条件: 10:00 は起動時間（08:00～09:00）の外です"
                                            << false;
    }
    void startsNothingAndSaysWhy()
    {
        QFETCH(QString, changes);
        QFETCH(QString, result);
        QFETCH(QString, conditions);
        QFETCH(bool, marker);
        test::WorkDir dir;
        if (changes != u"none")
            dir.write(kRegistrationFile, joinLines(test::changedLines(changes)));
        if (marker)
            dir.write(kMarkerFile, markerBytes());
        const Start start = prepare(StartFolder(dir.path()), kStart);
        QVERIFY(!start.plan);
        QVERIFY2(!dir.exists(kMarkerFile), "a marker left would have the next start skip its checks");
        const QStringList lines = report();
        QCOMPARE(lines.size(), 8);
        QVERIFY2(lines[0].startsWith(result), qPrintable(lines[0]));
        QCOMPARE(lines[1], conditions);
    }

    // A second runner in the folder, as at a start while a test run waits.
    void secondRunnerDoesNothing()
    {
        test::WorkDir dir;
        dir.write(kRegistrationFile, joinLines(test::changedLines("16=a.exe")));
        dir.write(kMarkerFile, markerBytes());
        const FileLock first(kLockFile);
        QVERIFY(first.held());
        QProcess second;
        second.start(QDir(QCoreApplication::applicationDirPath())
                         .filePath(QStringLiteral(NERUBATO_RUNNER_FOLDER "/") + kRunnerFile));
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(report().value(0).section(u'　', 0, 0),
                 QStringLiteral("quorvex.exe が実行中のため何もしませんでした"));
        QVERIFY(!dir.exists(kMarkerFile));
    }

    void countdownBeepsInItsLastSeconds_data()
    {
        QTest::addColumn<QString>("beep");
        QTest::addColumn<int>("beeps");
        QTest::newRow("silent") << "0" << 0;
        QTest::newRow("last 2 of 3") << "2" << 2;
        QTest::newRow("longer than the countdown") << "5" << 3;
    }
    void countdownBeepsInItsLastSeconds()
    {
        QFETCH(QString, beep);
        QFETCH(int, beeps);
        Runner r("15=3;16=a.exe;14=" + beep);
        for (int second = 0; second < 2; ++second) {
            r.after(1);
            QVERIFY(r.platform.programs.isEmpty());
        }
        r.after(1);
        QCOMPARE(r.platform.programs, QStringList{"a.exe"});
        QCOMPARE(r.platform.beeps, beeps);
    }

    void cancelStartsNothing_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("how");
        QTest::newRow("countdown, 中止") << "16=a.exe" << "cancel_Btn";
        QTest::newRow("countdown, Esc") << "16=a.exe" << "esc";
        QTest::newRow("countdown, close box") << "16=a.exe" << "close";
        QTest::newRow("timer's wait, 中止") << "10=false;13=11:00;16=a.exe" << "cancel_Btn";
    }
    void cancelStartsNothing()
    {
        QFETCH(QString, changes);
        QFETCH(QString, how);
        Runner r(changes);
        RunnerWindow *window = shownWindow();
        QVERIFY(window);
        if (how == u"esc")
            QTest::keyClick(window, Qt::Key_Escape);
        else if (how == u"close")
            window->close();
        else
            press("cancel_Btn");
        r.after(3600);
        QVERIFY(r.finished);
        QVERIFY(r.platform.programs.isEmpty());
        QVERIFY(report().value(0).startsWith(QStringLiteral("中止したため起動しませんでした")));
    }

    void waitingWindowMinimizes_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<bool>("atOnce");
        QTest::addColumn<bool>("onceShown");
        QTest::newRow("自動最小化する") << "40=true" << false << true;
        QTest::newRow("最初から最小化") << "40=true;45=true" << true << true;
        QTest::newRow("自動最小化しない") << "40=false;45=true" << false << false;
    }
    void waitingWindowMinimizes()
    {
        QFETCH(QString, changes);
        QFETCH(bool, atOnce);
        QFETCH(bool, onceShown);
        Runner r("10=false;13=11:00;16=a.exe;" + changes);
        RunnerWindow *window = shownWindow();
        QVERIFY(window);
        QCOMPARE(window->isMinimized(), atOnce);
        QCoreApplication::processEvents();
        QCOMPARE(window->isMinimized(), onceShown);
        r.after(3599);
        QVERIFY(r.platform.programs.isEmpty());
        r.after(1); // 11:00: the countdown, shown as it is, on top
        QVERIFY(!window->isMinimized());
        QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
    }

    // The second program after the first has ended, or after its time
    // difference whether or not the first has ended: real programs, on the
    // real platform, and the run's clock moved by the test. The second path
    // is in quotes, as Explorer copies a path.
    void programsInOrder_data()
    {
        QTest::addColumn<bool>("independent");
        QTest::addColumn<int>("minutes");
        QTest::newRow("独立実行 off") << false << 2;
        QTest::newRow("独立実行 on, 1 minute") << true << 1;
    }
    void programsInOrder()
    {
        QFETCH(bool, independent);
        QFETCH(int, minutes);
        test::WorkDir dir; // where the step program lies, and so works
        const QString path = QDir::toNativeSeparators(
            test::installProgram(dir, test::helperPath(QStringLiteral("step")), QStringLiteral("step.exe")));
        Runner r(QStringLiteral("16=%1;17=\"%1\";21=P1 release;22=P2;31=%2;41=%3")
                     .arg(path, independent ? "true" : "false")
                     .arg(minutes));
        r.platform.realPrograms = true;
        press("runNow_Btn");
        QCOMPARE(r.platform.programs.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.file("P1.started")), 10000);
        r.after(minutes * 60 - 1);
        QCOMPARE(r.platform.programs.size(), 1);
        r.after(1);
        QCOMPARE(r.platform.programs.size(), independent ? 2 : 1);
        if (independent) // started is not yet running: let it look before the first ends
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.file("P2.started")), 10000);
        dir.write(QStringLiteral("release"), {});
        // Both: a first program still waiting when its folder goes would
        // hold the suite's output for its 20 s.
        QTRY_VERIFY_WITH_TIMEOUT((r.run->tick(), dir.exists("P1.ended") && dir.exists("P2.ended")), 10000);
        QCOMPARE(dir.read(QStringLiteral("P2.started")), independent ? QByteArray() : "P1.ended\n");
        QTRY_VERIFY_WITH_TIMEOUT((r.run->tick(), r.finished), 10000);
        QVERIFY(report().value(3).startsWith(QStringLiteral("ＰＧＭ2: 10:0%1:00 に起動しました").arg(minutes)));
    }

    // A clock set on or back, or a computer asleep, during a countdown takes
    // none of its seconds: the warning before the programs or the end of
    // Windows is seen whole.
    void countdownOutlastsTheClock_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<int>("jump");
        QTest::addColumn<int>("left"); // seconds still to count after it
        QTest::newRow("programs, set on an hour") << "15=10;16=a.exe" << 3600 << 5;
        QTest::newRow("programs, set back an hour") << "15=10;16=a.exe" << -3600 << 5;
        QTest::newRow("end of Windows, asleep a night") << "16=a.exe;35=syuryo1" << 36000 << 55;
    }
    void countdownOutlastsTheClock()
    {
        QFETCH(QString, changes);
        QFETCH(int, jump);
        QFETCH(int, left);
        Runner r(changes);
        const auto happened = [&r] { return r.platform.programs.size() + r.platform.sessionEnds.size(); };
        if (changes.contains(u"syuryo1")) {
            press("runNow_Btn");
            *r.platform.ended[0] = true;
            r.after(2); // the program has ended; then the end's countdown
        }
        const qsizetype before = happened();
        r.after(5);
        r.jump(jump);
        r.after(left - 1);
        QCOMPARE(happened(), before);
        r.after(1);
        QCOMPARE(happened(), before + 1);
    }

    // Never without the countdown; in a test run, never without a Yes.
    void endingWindows_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<bool>("marker");
        QTest::addColumn<QString>("answer"); // to the test run's question, or 中止
        QTest::addColumn<QList<bool>>("ends"); // true: a restart
        const QString allDone = "16=a.exe;35=syuryo1";
        QTest::newRow("after all") << allDone << false << "" << QList<bool>{false};
        QTest::newRow("restart") << allDone + ";46=false" << false << "" << QList<bool>{true};
        QTest::newRow("中止") << allDone << false << "cancel_Btn" << QList<bool>{};
        QTest::newRow("test run, いいえ") << allDone << true << "いいえ(&N)" << QList<bool>{};
        QTest::newRow("test run, Enter") << allDone << true << "<enter>" << QList<bool>{};
        QTest::newRow("test run, はい") << allDone << true << "はい(&Y)" << QList<bool>{false};
        QTest::newRow("at the set time") << "16=a.exe;35=syuryo2;36=10:30" << false << ""
                                         << QList<bool>{false};
    }
    void endingWindows()
    {
        QFETCH(QString, changes);
        QFETCH(bool, marker);
        QFETCH(QString, answer);
        QFETCH(QList<bool>, ends);
        Runner r(changes, marker);
        press("runNow_Btn");
        QCOMPARE(r.platform.programs.size(), 1);
        QVERIFY(report().value(7).startsWith(QStringLiteral("Windows終了: ")));
        r.after(1);
        QVERIFY(r.platform.sessionEnds.isEmpty());
        std::optional<test::MessageAnswerer> question;
        if (marker)
            question.emplace(answer);
        *r.platform.ended[0] = true;
        r.jump(30 * 60); // the program has ended; 10:30 has come
        if (marker) {
            QCOMPARE(question->seen().defaultButton, QStringLiteral("いいえ(&N)"));
            QVERIFY(question->seen().onTop);
            if (answer != u"はい(&Y)") {
                QVERIFY(r.finished);
                QVERIFY(r.platform.sessionEnds.isEmpty());
                return;
            }
        }
        r.after(59);
        QVERIFY(r.platform.sessionEnds.isEmpty());
        if (answer == u"cancel_Btn")
            press("cancel_Btn");
        r.after(1);
        QCOMPARE(r.platform.sessionEnds, ends);
        QVERIFY(r.finished);
    }
};

NERUBATO_TEST_MAIN(TestRunner)
#include "tst_runner.moc"
