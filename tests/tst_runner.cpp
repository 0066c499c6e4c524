#include "platform/Platform.h"
#include "runner/gui/FailureWindow.h"
#include "runner/gui/Run.h"
#include "runner/gui/RunnerWindow.h"
#include "settings/Cp932.h"
#include "settings/RunnerContract.h"
#include "settings/SettingsFile.h"
#include "testui.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>

using namespace nerubato;
using namespace nerubato::runner;

namespace {

const QDateTime kStart(QDate(2026, 12, 9), QTime(10, 0));

// A file of the work directory, decoded, a line each.
QStringList lines(const QString &name = kReportFile)
{
    QStringList lines;
    QFile file(QDir::current().filePath(name));
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : splitLines(file.readAll()))
            lines << cp932::decode(line);
    }
    return lines;
}

template <typename Window = RunnerWindow> Window *shownWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<Window *>(w); window && window->isVisible())
            return window;
    }
    return nullptr;
}

QString runnerPath()
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral(NERUBATO_RUNNER_FOLDER "/") + kRunnerFile);
}

void press(const char *button)
{
    QVERIFY(shownWindow());
    shownWindow()->findChild<QPushButton *>(QString::fromLatin1(button))->click();
}

// A run of the registration in the work directory, as the runner starts it,
// on a fake platform and a clock the test moves; blocked: a file of the folder
// that cannot be written (a folder of its name).
struct Runner
{
    explicit Runner(const QString &changes, bool marker = false, QDateTime at = kStart,
                    const QString &blocked = {})
        : now(at)
    {
        dir.write(kRegistrationFile, joinLines(test::changedLines(changes)));
        if (marker)
            dir.write(kMarkerFile, markerBytes());
        if (!blocked.isEmpty())
            QDir(dir.path()).mkdir(blocked);
        run = std::make_unique<Run>(platform, [this] { return now; }, prepare(StartFolder(dir.path()), now));
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
    QDateTime now;
    std::unique_ptr<Run> run;
    bool finished = false;
};

} // namespace

class TestRunner : public QObject
{
    Q_OBJECT

private slots:
    // Told in the report and the history; the programs set are named even
    // where the registration cannot be carried out.
    void startsNothingAndSaysWhy_data()
    {
        QTest::addColumn<QString>("changes"); // "none": no registration
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("conditions");
        QTest::addColumn<QString>("program1");
        QTest::addColumn<bool>("marker"); // a test run's, which goes all the same
        const QString set = "ＰＧＭ１: 起動していません  a.exe";
        QTest::newRow("not registered") << "none" << "設定データが登録されていないため"
                                        << "起動条件: kidodata.dat がありません" << "ＰＧＭ１: 設定なし" << true;
        QTest::newRow("short") << "16=a.exe;-48" << "登録データに誤りがあるため"
                               << "起動条件: kidodata.dat の 49 行目がありません（49 行が必要です）" << set
                               << false;
        QTest::newRow("damaged") << "10=false;13=25:00;16=a.exe" << "登録データに誤りがあるため"
                                 << "起動条件: kidodata.dat の 13 行目が正しくありません: \"25:00\"" << set
                                 << true;
        QTest::newRow("outside the window") << "11=08:00;12=09:00;16=a.exe"
                                            << "起動条件を満たしていないため"
                                            << "起動条件: 10:00 は起動時間（08:00～09:00）の外です" << set
                                            << false;
    }
    void startsNothingAndSaysWhy()
    {
        QFETCH(QString, changes);
        QFETCH(QString, result);
        QFETCH(QString, conditions);
        QFETCH(QString, program1);
        QFETCH(bool, marker);
        test::WorkDir dir;
        if (changes != u"none")
            dir.write(kRegistrationFile, joinLines(test::changedLines(changes)));
        if (marker)
            dir.write(kMarkerFile, markerBytes());
        const Start start = prepare(StartFolder(dir.path()), kStart);
        QVERIFY(!start.plan);
        QCOMPARE(sequel(start), Sequel::None);
        QVERIFY2(!dir.exists(kMarkerFile), "a marker left would have the next start skip its checks");
        const QStringList lines = ::lines();
        QCOMPARE(lines.size(), 9);
        QVERIFY2(lines[0].startsWith(result), qPrintable(lines[0]));
        QCOMPARE(lines[1], conditions);
        QCOMPARE(lines[2], program1);
        QVERIFY2(lines[8].startsWith(QStringLiteral("次回: ")), qPrintable(lines[8]));
        const QStringList history = ::lines(kHistoryFile);
        QVERIFY2(history.value(0).startsWith(QStringLiteral("2026/12/09 10:00:00 %1: %2")
                                                 .arg(marker ? "テスト実行" : "実行", result)),
                 qPrintable(history.join(u'\n')));
        QCOMPARE(history.last(), lines[8]);
    }

    // A second runner, as at a start while a test run waits: it keeps out,
    // whatever lies in the folder, and leaves the first one's report alone.
    void secondRunnerDoesNothing_data()
    {
        QTest::addColumn<QString>("report"); // the first one's, if any
        QTest::addColumn<QString>("inTheWay"); // a folder named so
        QTest::newRow("no report yet") << "" << "";
        QTest::newRow("the first one's report") << "A" << "";
        QTest::newRow("an old lock file that cannot be opened") << "" << "quorvex.lck";
    }
    void secondRunnerDoesNothing()
    {
        QFETCH(QString, report);
        QFETCH(QString, inTheWay);
        test::WorkDir dir;
        dir.write(kRegistrationFile, joinLines(test::changedLines("16=a.exe")));
        dir.write(kMarkerFile, markerBytes());
        if (!report.isEmpty())
            dir.write(kReportFile, report.toLatin1());
        if (!inTheWay.isEmpty())
            QDir(dir.path()).mkdir(inTheWay);
        const RunLock first(dir.path());
        QVERIFY(first.held());
        QProcess second;
        second.start(runnerPath());
        QVERIFY(second.waitForFinished(20000));
        QVERIFY(!dir.exists(kMarkerFile));
        const QString refused = QStringLiteral("quorvex.exe が実行中のため何もしませんでした");
        QCOMPARE(::lines().value(0).section(u'　', 0, 0), report.isEmpty() ? refused : report);
        QVERIFY(::lines(kHistoryFile).value(0).endsWith(QStringLiteral("テスト実行: ") + refused));
        QCOMPARE(::lines(kHistoryFile).value(2), QStringLiteral("ＰＧＭ１: 起動していません  a.exe"));
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
        QVERIFY(lines().value(0).startsWith(QStringLiteral("中止したため起動しませんでした")));
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
        QVERIFY(lines().value(3).startsWith(QStringLiteral("ＰＧＭ2: 10:0%1:00 に起動しました").arg(minutes)));
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
        QTest::newRow("at the set time, seen late") << "16=a.exe;35=syuryo2;36=10:30" << false << ""
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
        QVERIFY(lines().value(7).startsWith(QStringLiteral("Windows終了: ")));
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

    // The warning ends at the set time; with less than its minute left once
    // the programs have started (after the countdown, at 10:00:30), it still
    // lasts a minute. Seconds from 10:00:00.
    void endsAtTheSetTime_data()
    {
        QTest::addColumn<QString>("endAt");
        QTest::addColumn<int>("warning");
        QTest::newRow("an hour ahead") << "11:00" << 3540;
        QTest::newRow("30 s ahead") << "10:01" << 32;
    }
    void endsAtTheSetTime()
    {
        QFETCH(QString, endAt);
        QFETCH(int, warning);
        Runner r("16=a.exe;35=syuryo2;36=" + endAt);
        const auto onTop = [] { return shownWindow()->windowFlags().testFlag(Qt::WindowStaysOnTopHint); };
        r.after(31); // the programs at 10:00:30, then the wait for the end
        if (warning > 32)
            r.jump(warning - 32);
        QVERIFY(!onTop());
        r.after(1);
        QVERIFY(onTop());
        r.after(59);
        QVERIFY(r.platform.sessionEnds.isEmpty());
        r.after(1);
        QCOMPARE(r.platform.sessionEnds.size(), 1);
    }

    // Once a day: only a program that started uses the day up, and the day
    // is the one it started on.
    void dayOnRecord_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QDateTime>("at");
        QTest::addColumn<QByteArray>("day"); // in kidorireki.dat; empty: none written
        QTest::addColumn<QString>("told");
        QTest::newRow("started") << "16=a.exe" << kStart << QByteArray("2026/12/09\r\n")
                                 << "2026/12/09 を kidorireki.dat に書きました";
        QTest::newRow("could not start") << "16=missing" << kStart << QByteArray()
                                         << "起動できたプログラムがないため書いていません（今日もう一度実行できます）";
        QTest::newRow("countdown past midnight")
            << "11=23:00;12=01:00;15=3;16=a.exe" << QDateTime(kStart.date(), QTime(23, 59, 58))
            << QByteArray("2026/12/10\r\n") << "2026/12/10 を kidorireki.dat に書きました";
    }
    void dayOnRecord()
    {
        QFETCH(QString, changes);
        QFETCH(QDateTime, at);
        QFETCH(QByteArray, day);
        QFETCH(QString, told);
        Runner r(changes + ";38=true", false, at);
        r.after(30);
        QCOMPARE(r.dir.read(kDayFile), day);
        QCOMPARE(lines().value(9), QStringLiteral("一日一度の記録: ") + told);
    }

    // At a real start a failure comes on top, names itself and the history,
    // and goes after ten minutes; a test run leaves the telling to the tool.
    void failureIsToldAtARealStart_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<bool>("marker");
        QTest::addColumn<QString>("blocked");
        QTest::addColumn<QString>("told"); // empty: no window
        QTest::newRow("a program") << "16=missing" << false << ""
                                   << "ＰＧＭ１ を起動できませんでした（ファイルが見つかりません）\n　missing";
        QTest::newRow("the history") << "16=a.exe" << false << kHistoryFile
                                     << "実行の記録 jikkorireki.txt を書けませんでした（ﾌｧｲﾙ "
                                        "jikkorireki.txt を作成できません）";
        QTest::newRow("test run") << "16=missing" << true << "" << "";
    }
    void failureIsToldAtARealStart()
    {
        QFETCH(QString, changes);
        QFETCH(bool, marker);
        QFETCH(QString, blocked);
        QFETCH(QString, told);
        Runner r(changes, marker, kStart, blocked);
        press("runNow_Btn");
        r.after(1);
        auto *window = shownWindow<FailureWindow>();
        if (told.isEmpty()) {
            QVERIFY(!window);
            QVERIFY(r.finished);
            return;
        }
        QVERIFY(window);
        QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QString text = window->findChild<QLabel *>("message_Lbl")->text();
        QVERIFY2(text.contains(QStringLiteral("・") + told + u'\n') &&
                     text.endsWith(QDir::toNativeSeparators(r.dir.file(kHistoryFile))),
                 qPrintable(text));
        if (!blocked.isEmpty()) // the report says so
            QCOMPARE(lines().last(), told);
        r.after(FailureWindow::kShownSeconds - 2);
        QVERIFY(window->isVisible() && !r.finished);
        r.after(2);
        QVERIFY(!window->isVisible() && r.finished);
    }

    // The real runner at a real start: every program told in the history,
    // its arguments split as on Windows (the empty one kept), and a failure
    // in a window that keeps the runner until it goes.
    void realStartIsAccountedFor()
    {
        test::WorkDir dir;
        const QString step = QDir::toNativeSeparators(
            test::installProgram(dir, test::helperPath(QStringLiteral("step")), QStringLiteral("step.exe")));
        const QString missing = QDir::toNativeSeparators(dir.file("missing.exe"));
        dir.write(kRegistrationFile,
                  joinLines(test::changedLines(QStringLiteral("14=0;15=3;16=%1;17=%2;22=P2 \"\" 3;38=true")
                                                   .arg(missing, step))));
        QProcess runner;
        runner.start(runnerPath());
        QTRY_VERIFY_WITH_TIMEOUT(dir.exists(kReportFile), 20000);
        const QStringList history = lines(kHistoryFile);
        const QString today = QDate::currentDate().toString(u"yyyy/MM/dd");
        // Program 2 may have been seen to end before the report: a line more.
        const QStringList started = history.filter(QStringLiteral("に起動しました  %1 P2 \"\" 3").arg(step));
        QVERIFY2(history[0].startsWith(today) &&
                     history[0].endsWith(QStringLiteral(" 実行: 起動できないプログラムがありました")) &&
                     history.contains(QStringLiteral("ＰＧＭ１: 起動できませんでした（ファイルが見つかりません）  ") +
                                      missing) &&
                     started.size() == 1 && started[0].startsWith(QStringLiteral("ＰＧＭ2: ")) &&
                     history.contains(QStringLiteral("一日一度の記録: %1 を kidorireki.dat に書きました").arg(today)) &&
                     history.last().startsWith(QStringLiteral("次回: ")),
                 qPrintable(history.join(u'\n')));
        QTRY_COMPARE_WITH_TIMEOUT(dir.read("P2.args"), QByteArray("P2\n\n3\n"), 10000);
        // The failure window holds the runner; it would go by itself after ten minutes.
        QVERIFY(!runner.waitForFinished(1000));
        runner.kill();
        runner.waitForFinished(10000);
    }
};

NERUBATO_TEST_MAIN(TestRunner)
#include "tst_runner.moc"
