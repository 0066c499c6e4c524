#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "settings/Cp932.h"
#include "settings/Errors.h"
#include "settings/RunnerContract.h"
#include "settings/ScheduleSettings.h"
#include "settings/SettingsFile.h"
#include "shell/TForm3.h"
#include "shell/WindowSet.h"
#include "storage/TForm2.h"
#include "testprogram.h"
#include "ui/Messages.h"
#include "ui/SettingsTarget.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <QWindow>

using namespace nerubato;

namespace {

const QString kYes = QStringLiteral("はい(&Y)");
const QString kNo = QStringLiteral("いいえ(&N)");
const QString kCancel = QStringLiteral("ｷｬﾝｾﾙ");

QByteArray reportOf(int lines)
{
    QByteArray out;
    for (int i = 1; i <= lines; ++i)
        out += "line " + QByteArray::number(i) + "\r\n";
    return out;
}

QString shownReport(int lines)
{
    QStringList out;
    for (int i = 1; i <= lines; ++i)
        out << QStringLiteral("line %1").arg(i);
    return out.join("\r\n");
}


} // namespace

class TestShell : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::Program> m_program;

    TForm3 &main() { return m_program->main(); }
    TForm1 &editor() { return m_program->editor(); }
    // The launches go to the real shell, which starts what lies in the
    // program's folder.
    void launchForReal()
    {
        m_program->platform.onLaunch = [](const test::FakePlatform::Launch &launch) {
            Platform().shellLaunch(nullptr, launch.file, launch.parameters, launch.directory,
                                   launch.showCommand);
        };
    }

private slots:
    void init()
    {
        m_program = std::make_unique<test::Program>();
        main().show();
    }

    void cleanup() { m_program.reset(); }

    // Every window shows the program's icon, which the application object set
    // once: the picture compiled in, and no window with one of its own.
    void everyWindowShowsTheProgramsIcon_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("main window") << "Form3";
        QTest::newRow("editor") << "Form1";
        QTest::newRow("slot chooser") << "Form2";
        QTest::newRow("file chooser") << "sForm";
    }

    void everyWindowShowsTheProgramsIcon()
    {
        QFETCH(QString, window);
        QWidget *widget = &test::Program::window<QWidget>(qPrintable(window));
        widget->winId(); // the platform's window, which takes its icon from the widget's
        const QIcon icon = widget->windowHandle()->icon();
        QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(64, 64)});

        // At the title bar's size: a calendar page, its band blue, the start mark green.
        const QImage small = icon.pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(small.size(), QSize(16, 16));
        QCOMPARE(qAlpha(small.pixel(0, 0)), 0); // the page's corners are round
        const auto near = [&](QPoint at, QRgb expected) {
            const QRgb seen = small.pixel(at);
            return qAlpha(seen) == 255 && qAbs(qRed(seen) - qRed(expected)) <= 8 &&
                   qAbs(qGreen(seen) - qGreen(expected)) <= 8 &&
                   qAbs(qBlue(seen) - qBlue(expected)) <= 8;
        };
        QVERIFY2(near({8, 4}, qRgb(0x3a, 0x78, 0xd8)), "the band is not blue");
        QVERIFY2(near({3, 12}, qRgb(0xff, 0xff, 0xff)), "the page is not white");
        QVERIFY2(near({7, 10}, qRgb(0x24, 0xa1, 0x48)), "the start mark is not green");
    }

    // The main window alone, with a stand-in for the editor: the view loads
    // into it and opens it through the signals, in the order of the steps.
    void mainWindowAlone()
    {
        test::FakeEditor editor;
        test::WorkDir dir;
        test::FakePlatform platform;
        TForm3 main(platform, StartFolder(dir.path()));
        main.FormCreate();
        main.setSettingsTarget(&editor);
        connect(&main, &TForm3::editorFirstPageWanted, this, [&] { editor.steps << "first page"; });
        connect(&main, &TForm3::windowModeApplied, this,
                [&](WindowMode mode) { editor.steps << "mode " + QString::number(int(mode)); });
        connect(&main, &TForm3::editorWanted, this, [&] { editor.steps << "shown"; });
        dir.write("kidodata.dat", test::defaultSettingsFile());
        test::press(main, "kaijo_Btn");
        QCOMPARE(editor.steps,
                 QStringList({"load 49", "EnableAll", "first page", "mode 2", "shown"}));
        editor.steps.clear();
        test::press(main, "settei_Btn");
        QCOMPARE(editor.steps, QStringList({"first page", "mode 1", "shown"}));
    }

    // From the main window to a registered schedule with the keys alone: the
    // editor opened, the start date stepped to 02/29, a timer start at 07:30,
    // an entry filled by browsing, saved to slot 2 and registered.
    void keyboardOnlyWalkthrough()
    {
        m_program->dir.write("app.exe", "x");
        main().activateWindow();
        QTRY_VERIFY(QApplication::focusWidget());
        const auto press = [](Qt::Key key) {
            QWidget *focus = QApplication::focusWidget();
            QVERIFY2(focus, "nothing has the keyboard focus");
            QTest::keyClick(focus, key);
        };
        // Tab until the control has the focus, as a user would.
        const auto tabTo = [&](const char *name) {
            for (int i = 0; i < 100 && QApplication::focusWidget() &&
                            QApplication::focusWidget()->objectName() != QLatin1String(name);
                 ++i)
                press(Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() &&
                         QApplication::focusWidget()->objectName() == QLatin1String(name),
                     name);
        };
        const auto times = [&](int n, Qt::Key key) {
            for (int i = 0; i < n; ++i)
                press(key);
        };

        tabTo("settei_Btn");
        press(Qt::Key_Space);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(&editor()));
        tabTo("kidobi_CBox");
        press(Qt::Key_Space);
        tabTo("kidobi_Edit");
        press(Qt::Key_PageUp); // 02/01
        times(28, Qt::Key_Up);
        tabTo("sokuji_RBtn");
        press(Qt::Key_Down); // timer start
        tabTo("timer_Edit");
        times(7, Qt::Key_PageUp); // 07:00
        times(30, Qt::Key_Up);

        tabTo("sansyo_Btn1");
        press(Qt::Key_Space);
        QWidget *files = &m_program->files();
        QTRY_COMPARE(QApplication::activeWindow(), files);
        tabTo("FileLBox");
        auto *list = files->findChild<QListView *>("FileLBox");
        QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 1);
        press(Qt::Key_Down);
        press(Qt::Key_Return);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(&editor()));

        tabTo("hozon_Btn");
        press(Qt::Key_Space);
        QWidget *slotChooser = &m_program->slotChooser();
        QTRY_COMPARE(QApplication::activeWindow(), slotChooser);
        tabTo("Button2");
        test::MessageAnswerer answers("<enter>"); // Yes, register
        answers.then("<enter>");                  // OK
        press(Qt::Key_Space);
        QCOMPARE(answers.all().size(), 2);

        const Lines saved = splitLines(m_program->dir.read("hozondt2.dat"));
        QCOMPARE(saved.size(), 49);
        QCOMPARE(m_program->dir.read("kidodata.dat"), m_program->dir.read("hozondt2.dat"));
        QCOMPARE(saved[0], QByteArray("true"));
        QCOMPARE(saved[1], QByteArray("02/29"));
        QCOMPARE(saved[9], QByteArray("false"));
        QCOMPARE(saved[12], QByteArray("07:30"));
        ScheduleSettings registered;
        linesToSettings(saved, registered);
        QCOMPARE(QFileInfo(cp932::decode(registered.jikko_Path[0])),
                 QFileInfo(m_program->dir.file("app.exe")));
    }

    // The program's end runs the editor's end while every window is still
    // there: it says so when the start directory has gone meanwhile.
    void programEndRestoresTheStartDirectory()
    {
        const test::StartDirectoryGone gone(m_program->dir.path());
        test::MessageAnswerer answer("OK");
        m_program->windows.end();
        QCOMPARE(answer.all().size(), 1);
        QCOMPARE(answer.seen().text, QStringLiteral("カレントディレクトリのセットに失敗しました\r\n"
                                                    "ファイル操作を正常に行えませんでした"));
    }

    // Browsing fills the entry whose button opened the file chooser, and no
    // other; the editor is enabled again.
    void browsingFillsTheEntryThatAsked_data()
    {
        QTest::addColumn<int>("entry");
        QTest::newRow("entry 1") << 1;
        QTest::newRow("entry 3") << 3;
        QTest::newRow("entry 5") << 5;
    }

    void browsingFillsTheEntryThatAsked()
    {
        QFETCH(int, entry);
        m_program->dir.write("app.exe", "x");
        test::press(main(), "settei_Btn");
        const char *browse[] = {"sansyo_Btn1", "sansyo_Btn2", "sansyoBtn3", "sansyo_Btn4",
                                "sansyo_Btn5"};
        test::press(editor(), browse[entry - 1]);
        QVERIFY(!editor().isEnabled());
        TsForm *files = &m_program->files();
        auto *list = files->findChild<QListView *>("FileLBox");
        QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 1);
        list->setCurrentIndex(list->model()->index(0, 0, list->rootIndex()));
        test::press(*files, "oK_Btn");
        const ScheduleSettings s = editor().settings();
        for (int n = 1; n <= 5; ++n)
            QCOMPARE(s.jikko_Path[n - 1].isEmpty(), n != entry);
        QCOMPARE(QFileInfo(cp932::decode(s.jikko_Path[entry - 1])),
                 QFileInfo(m_program->dir.file("app.exe")));
        QVERIFY(editor().isEnabled());
    }

    // The file chooser reading a share that does not answer: the program's
    // end comes within a second all the same.
    void hangingShareDoesNotHoldTheEnd()
    {
        test::FakePlatform platform;
        // The reader holds its own copy of this state: the hanging read goes
        // on after the windows and this case's frame have gone.
        auto reached = std::make_shared<std::atomic<bool>>(false);
        auto release = std::make_shared<std::promise<void>>();
        platform.onList = [reached, released = release->get_future().share()](
                              const QString &) -> std::optional<Platform::Listing> {
            *reached = true;
            released.wait();
            return Platform::Listing::Unreadable;
        };
        const auto letGo = qScopeGuard([release] { release->set_value(); });
        m_program.reset(); // one program at a time
        auto windows = std::make_unique<WindowSet>(platform);
        test::press(test::Program::window<TForm1>("Form1"), "sansyo_Btn1");
        QTRY_VERIFY(*reached);
        QElapsedTimer ending;
        ending.start();
        windows->end();
        windows.reset();
        QVERIFY2(ending.elapsed() < 1000, qPrintable(QString::number(ending.elapsed())));
    }

    // An error thrown in a handler that one window's signal reaches in another
    // ends in the general error box, and the program goes on: one row a link.
    void errorsNeverCrossALink_data()
    {
        QTest::addColumn<QString>("link");
        for (const char *link :
             {"mode applied", "first page", "editor shown", "mode wanted", "slot chooser wanted",
              "slot chooser dismissed", "slot chooser closed", "file chooser wanted",
              "path accepted", "file chooser cancelled"})
            QTest::newRow(link) << QString::fromLatin1(link);
    }

    void errorsNeverCrossALink()
    {
        QFETCH(QString, link);
        m_program->onLink = [link](const char *name) {
            if (link == QLatin1String(name))
                throw Error(QStringLiteral("thrown in ") + link);
        };
        TForm2 *slotChooser = &m_program->slotChooser();
        TsForm *files = &m_program->files();
        // Emitted as the sending window does, but not from one of its handlers,
        // which are guarded themselves: an error that crossed the link would
        // reach this test.
        const QHash<QString, std::function<void()>> emitted = {
            {"mode applied", [&] { emit main().windowModeApplied(WindowMode::Create); }},
            {"first page", [&] { emit main().editorFirstPageWanted(); }},
            {"editor shown", [&] { emit main().editorWanted(); }},
            {"mode wanted", [&] { emit editor().windowModeWanted(); }},
            {"slot chooser wanted", [&] { emit editor().slotChooserWanted(SlotAction::Load, {}); }},
            {"slot chooser dismissed", [&] { emit editor().slotChooserDismissed(); }},
            {"slot chooser closed", [&] { emit slotChooser->closedForEditor(); }},
            {"file chooser wanted", [&] { emit editor().fileChooserWanted(); }},
            {"path accepted", [&] { emit files->pathAccepted(QStringLiteral("app.exe")); }},
            {"file chooser cancelled", [&] { emit files->cancelled(); }}};
        test::MessageAnswerer answers("OK");
        emitted.value(link)();
        QCOMPARE(answers.all().size(), 1);
        QCOMPARE(answers.seen().caption, QStringLiteral("ネルバト"));
        QCOMPARE(answers.seen().text, QStringLiteral("thrown in %1.").arg(link));
        QVERIFY(main().isVisible());
    }

    void mainWindowAsDesigned()
    {
        QCOMPARE(main().windowTitle(), QStringLiteral("ネルバト　設定登録画面"));
        QCOMPARE(main().size(), QSize(309, 148));
        const QList<std::pair<const char *, QString>> buttons = {
            {"settei_Btn", "設定ファイルの作成及び登録"},
            {"test_Btn", "登録した設定のテスト実行"},
            {"kaijo_Btn", "登録した設定の確認と解除"},
            {"help_Btn", "ヘルプ"},
            {"syuryo_Btn2", "終了"}};
        int top = 12;
        for (const auto &[name, text] : buttons) {
            auto *b = main().findChild<QPushButton *>(name);
            QVERIFY(b);
            QCOMPARE(b->text(), text);
            QCOMPARE(b->geometry().top(), top);
            top += 24;
        }
        QVERIFY(!main().findChild<QLabel *>("msgL")->isVisible());
        QCOMPARE(main().windowMode(), WindowMode(1));
        for (QWidget *w : {static_cast<QWidget *>(&editor()),
                           static_cast<QWidget *>(&m_program->slotChooser()),
                           static_cast<QWidget *>(&m_program->files())})
            QVERIFY(!w->isVisible());
    }

    // Nothing registered: the message, and the editor as it was, also when it
    // shows a registration that has gone since.
    void viewWithoutRegistration_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("viewing");
        QTest::newRow("no file") << false << false;
        QTest::newRow("a folder of its name") << true << false;
        QTest::newRow("while viewing") << false << true;
    }
    void viewWithoutRegistration()
    {
        QFETCH(bool, folder);
        QFETCH(bool, viewing);
        ScheduleSettings registered;
        registered.kidobi_Date = "12/24";
        if (viewing) {
            m_program->dir.write("kidodata.dat", joinLines(settingsToLines(registered)));
            test::press(main(), "kaijo_Btn");
            QFile::remove(m_program->dir.file("kidodata.dat"));
        }
        if (folder)
            QVERIFY(QDir(m_program->dir.path()).mkdir("kidodata.dat"));
        test::MessageAnswerer answer("OK");
        test::press(main(), "kaijo_Btn");
        QCOMPARE(answer.seen().caption, QStringLiteral("ｴﾗｰ"));
        QCOMPARE(answer.seen().text, QStringLiteral("現在設定データは登録されていません"));
        QCOMPARE(main().windowMode(), WindowMode(viewing ? 2 : 1));
        QCOMPARE(editor().isVisible(), viewing);
        if (viewing)
            QCOMPARE(editor().settings(), registered);
    }

    void viewThenCreate()
    {
        ScheduleSettings registered;
        registered.kidobi_Flag = true;
        registered.kidobi_Date = "12/24";
        m_program->dir.write("kidodata.dat", joinLines(settingsToLines(registered)));
        test::press(main(), "kaijo_Btn");
        QCOMPARE(main().windowMode(), WindowMode(2));
        QVERIFY(editor().isVisible());
        QCOMPARE(editor().windowTitle(), QStringLiteral("登録した設定の表示画面"));
        QCOMPARE(editor().settings(), registered);
        test::press(main(), "settei_Btn");
        QCOMPARE(main().windowMode(), WindowMode(1));
        QCOMPARE(editor().windowTitle(), QStringLiteral("設定ファイル作成画面"));
        QCOMPARE(editor().settings(), registered);
    }

    // A registration too short to read: the error box, no editor, the mode as it was.
    void viewOfAShortRegistration()
    {
        m_program->dir.write("kidodata.dat", "true\r\n01/01\r\n");
        test::MessageAnswerer answer("OK");
        test::press(main(), "kaijo_Btn");
        QCOMPARE(answer.seen().caption, QStringLiteral("ネルバト"));
        QCOMPARE(answer.seen().text, QStringLiteral("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています."));
        QVERIFY(!editor().isVisible());
        QCOMPARE(main().windowMode(), WindowMode(1));
    }

    // The help file goes to the shell where there is one; where there is
    // none, the guide beside the program opens, shown.
    void helpOpensTheHelpFileOrTheGuide_data()
    {
        QTest::addColumn<bool>("helpFileThere");
        QTest::newRow("vesprat.hlp there") << true;
        QTest::newRow("no help file") << false;
    }

    void helpOpensTheHelpFileOrTheGuide()
    {
        QFETCH(bool, helpFileThere);
        if (helpFileThere)
            m_program->dir.write("vesprat.hlp", "help");
        test::press(main(), "help_Btn");
        QCOMPARE(m_program->platform.launches.size(), 1);
        const auto &launch = m_program->platform.launches.first();
        if (helpFileThere) {
            QCOMPARE(launch.file, QStringLiteral("vesprat.hlp"));
            QCOMPARE(launch.showCommand, 0);
        } else {
            QCOMPARE(QFileInfo(launch.file),
                     QFileInfo(QCoreApplication::applicationDirPath() + "/guide/index.html"));
            QVERIFY(QDir::isAbsolutePath(launch.file));
            QCOMPARE(launch.showCommand, 1);
        }
        QCOMPARE(launch.parameters, QString());
        QCOMPARE(launch.directory, QString());
        QCOMPARE(m_program->platform.beeps, 0);
    }

    // The program ends: the event loop returns, whichever window is open.
    void exitEndsTheProgram_data()
    {
        QTest::addColumn<QString>("open");
        QTest::newRow("editor") << "editor";
        QTest::newRow("slot chooser") << "slots";
        QTest::newRow("file chooser") << "files";
    }

    void exitEndsTheProgram()
    {
        QFETCH(QString, open);
        test::press(main(), "settei_Btn");
        if (open == "slots")
            test::press(editor(), "yomidasi");
        if (open == "files")
            test::press(editor(), "sansyo_Btn1");
        bool ended = false;
        QTimer::singleShot(0, this, [this] { test::press(main(), "syuryo_Btn2"); });
        // Should the loop not end, this ends it after a while and says so. It
        // goes with the test: left behind, it would end a later test's loops.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [] { QCoreApplication::exit(1); });
        guard.start(5000);
        ended = QCoreApplication::exec() == 0;
        QVERIFY(ended);
        QVERIFY(!main().isVisible());
    }

    // Whichever page the editor was left on, it opens on the first.
    void editorOpensOnTheFirstPage_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("leftOn");
        QTest::newRow("create, left on options") << "settei_Btn"
                                                 << "TabSheet3";
        QTest::newRow("create, left on the reserved word") << "settei_Btn"
                                                           << "TabSheet2";
        QTest::newRow("view, left on options") << "kaijo_Btn"
                                               << "TabSheet3";
    }

    void editorOpensOnTheFirstPage()
    {
        QFETCH(QString, button);
        QFETCH(QString, leftOn);
        m_program->dir.write("kidodata.dat", test::defaultSettingsFile());
        auto *pages = editor().findChild<QTabWidget *>("PageControl1");
        test::press(main(), "settei_Btn");
        pages->setCurrentWidget(pages->findChild<QWidget *>(leftOn));
        test::press(editor(), "syuryo_Btn");
        test::press(main(), button);
        QVERIFY(editor().isVisible());
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TabSheet1"));
    }

    // A failed view leaves the mode as it was, 1 or 2.
    void failedViewKeepsTheMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("from mode 1") << 1;
        QTest::newRow("from mode 2") << 2;
    }

    void failedViewKeepsTheMode()
    {
        QFETCH(int, mode);
        m_program->dir.write("kidodata.dat", test::defaultSettingsFile());
        test::press(main(), mode == 1 ? "settei_Btn" : "kaijo_Btn");
        QCOMPARE(main().windowMode(), WindowMode(mode));
        m_program->dir.write("kidodata.dat", "true\r\n");
        test::MessageAnswerer answer("OK");
        test::press(main(), "kaijo_Btn");
        QCOMPARE(answer.seen().text, QStringLiteral("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています."));
        QCOMPARE(main().windowMode(), WindowMode(mode));
        QCOMPARE(editor().windowTitle(), mode == 1 ? QStringLiteral("設定ファイル作成画面")
                                                   : QStringLiteral("登録した設定の表示画面"));
    }

    void testRunAnswers_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("launched");
        QTest::addColumn<QByteArray>("marker");
        const QByteArray old = "old marker, longer than the new one would be if it were not "
                               "truncated on writing it again\r\n";
        QTest::newRow("cancel") << kCancel << false << old;
        QTest::newRow("close box") << "<close>" << false << old;
        QTest::newRow("yes") << kYes << true << old;
        QTest::newRow("no") << kNo << true << test::markerFileBytes();
    }

    void testRunAnswers()
    {
        QFETCH(QString, answer);
        QFETCH(bool, launched);
        QFETCH(QByteArray, marker);
        const QByteArray old = "old marker, longer than the new one would be if it were not "
                               "truncated on writing it again\r\n";
        m_program->dir.write("tstjikko.dat", old);
        m_program->dir.write("errormsg.txt", reportOf(7));
        test::MessageAnswerer answers(answer);
        test::press(main(), "test_Btn");
        QCOMPARE(answers.seen().caption, QStringLiteral("確認"));
        QCOMPARE(answers.seen().text,
                 QStringLiteral("  起動条件の判定を行いますか？\r\n"
                                "（いいえを選択すると、条件設定判定を行わず\r\n"
                                "即時に登録された作業のステップを実行します）"));
        QCOMPARE(answers.seen().buttons, QStringList({kYes, kNo, kCancel}));
        QCOMPARE(answers.seen().defaultButton, kYes);
        QCOMPARE(m_program->dir.read("tstjikko.dat"), marker);
        QCOMPARE(m_program->dir.exists("errormsg.txt"), !launched);
        QCOMPARE(m_program->platform.launches.size(), launched ? 1 : 0);
        if (launched) {
            const auto &launch = m_program->platform.launches.first();
            QCOMPARE(launch.file, QStringLiteral("quorvex.exe"));
            QCOMPARE(launch.directory, QString());
            QCOMPARE(launch.currentDirectory, m_program->dir.path());
            QCOMPARE(launch.showCommand, 0);
        }
    }

    void markerIs66Bytes()
    {
        test::MessageAnswerer answers(kNo);
        test::press(main(), "test_Btn");
        QCOMPARE(m_program->dir.read("tstjikko.dat").size(), 66);
    }

    void reportShown_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("shown");
        QTest::newRow("seven") << 7 << 7;
        QTest::newRow("nine") << 9 << 7;
        QTest::newRow("three") << 3 << 3;
    }

    void reportShown()
    {
        QFETCH(int, lines);
        QFETCH(int, shown);
        {
            test::MessageAnswerer answers(kYes);
            test::press(main(), "test_Btn");
        }
        test::fire(main(), "Timer1");
        test::MessageAnswerer report("OK");
        m_program->dir.write("errormsg.txt", reportOf(lines));
        test::fire(main(), "Timer1");
        QCOMPARE(report.seen().caption, QStringLiteral("ｴﾗｰ"));
        QCOMPARE(report.seen().icon, QMessageBox::Critical);
        QCOMPARE(report.seen().text, shownReport(shown));
        QCOMPARE(report.seen().buttons, QStringList{"OK"});
        QVERIFY(m_program->dir.exists("errormsg.txt"));
        // Later ticks show nothing more.
        test::fire(main(), "Timer1");
        QCOMPARE(report.all().size(), 1);
    }

    // Every text is shown as it stands: markup in a report is no markup.
    void messagesArePlainText()
    {
        {
            test::MessageAnswerer answers(kYes);
            test::press(main(), "test_Btn");
        }
        {
            test::MessageAnswerer report("OK");
            m_program->dir.write("errormsg.txt",
                                 "<b>1</b>\r\n<i>2\r\n3 & 4\r\n4\r\n5\r\n6\r\n7\r\n");
            test::fire(main(), "Timer1");
            QCOMPARE(report.seen().text,
                     QStringLiteral("<b>1</b>\r\n<i>2\r\n3 & 4\r\n4\r\n5\r\n6\r\n7"));
            QCOMPARE(report.seen().textFormat, Qt::PlainText);
        }
    }

    // A report there but not to be opened: the general error box, the wait
    // over. A folder of its name is no report: the wait goes on.
    void reportThatCannotBeOpened_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::newRow("cannot be read") << false;
        QTest::newRow("a folder of its name") << true;
    }
    void reportThatCannotBeOpened()
    {
        QFETCH(bool, folder);
        {
            test::MessageAnswerer answers(kYes);
            test::press(main(), "test_Btn");
        }
        std::optional<test::FileBeyondReach> held;
        if (folder) {
            QVERIFY(QDir(m_program->dir.path()).mkdir("errormsg.txt"));
        } else {
            m_program->dir.write("errormsg.txt", reportOf(7));
            held.emplace(m_program->dir, "errormsg.txt");
        }
        test::MessageAnswerer box("OK");
        for (int tick = 0; tick < 2; ++tick)
            test::fire(main(), "Timer1");
        QCOMPARE(box.all().size(), folder ? 0 : 1);
        held.reset();
        if (!folder) {
            QCOMPARE(box.seen().caption, QStringLiteral("ネルバト"));
            QCOMPARE(box.seen().text, QStringLiteral("ﾌｧｲﾙ errormsg.txt は開けません."));
            return;
        }
        // Still waiting: a report that comes now is shown.
        QVERIFY(QDir(m_program->dir.path()).rmdir("errormsg.txt"));
        m_program->dir.write("errormsg.txt", reportOf(7));
        test::fire(main(), "Timer1");
        QCOMPARE(box.seen().text, shownReport(7));
    }

    // Cancel during a wait: the wait goes on, and its report still shows.
    void cancelDuringAWaitKeepsWaiting()
    {
        {
            test::MessageAnswerer answers(kYes);
            test::press(main(), "test_Btn");
        }
        test::fire(main(), "Timer1");
        {
            test::MessageAnswerer answers(kCancel);
            test::press(main(), "test_Btn");
        }
        QCOMPARE(m_program->platform.launches.size(), 1);
        test::MessageAnswerer report("OK");
        m_program->dir.write("errormsg.txt", reportOf(7));
        test::fire(main(), "Timer1");
        QCOMPARE(report.seen().text, shownReport(7));
    }

    // A marker that can't be written stops the run before anything else happens.
    void markerThatCannotBeWritten()
    {
        m_program->dir.write("errormsg.txt", reportOf(7));
        QVERIFY(QDir(m_program->dir.path()).mkdir("tstjikko.dat"));
        test::MessageAnswerer answers(kNo);
        answers.then("OK");
        test::press(main(), "test_Btn");
        QCOMPARE(answers.all().size(), 2);
        QCOMPARE(answers.all().at(1).text, QStringLiteral("ﾌｧｲﾙ tstjikko.dat を作成できません."));
        QVERIFY(m_program->platform.launches.isEmpty());
        QVERIFY(m_program->dir.exists("errormsg.txt"));
        // No wait began: the report there is not shown.
        test::MessageAnswerer none("OK");
        test::fire(main(), "Timer1");
        QVERIFY(none.all().isEmpty());
    }

    // The whole way: the runner stand-in launched for real through the
    // platform's shell (ShellExecuteW on Windows), its report shown.
    void fakeRunnerReportIsShown_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("yes: conditions checked") << kYes << "no marker";
        QTest::newRow("no: the marker") << kNo << "marker";
    }

    void fakeRunnerReportIsShown()
    {
        QFETCH(QString, answer);
        QFETCH(QString, firstLine);
        launchForReal();
        test::installFakeRunner(m_program->dir);
        // The report is shown at a tick of the main window's own timer.
        test::MessageAnswerer answers(answer);
        answers.then("OK");
        test::press(main(), "test_Btn");
        QTRY_COMPARE_WITH_TIMEOUT(answers.all().size(), 2, 10000);
        QCOMPARE(answers.all().at(1).text,
                 firstLine + QStringLiteral("\r\n正常終了\r\nc\r\nd\r\ne\r\nf\r\ng"));
    }

    // The whole way with the real runner: launched by the tool, it carries
    // the registration out (or says why not) and the tool shows its report.
    void realRunnerCarriesTheScheduleOut_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("runs");
        QTest::addColumn<QString>("conditions");
        QTest::newRow("no: conditions skipped") << kNo << true << "判定を省略しました（テスト実行）";
        QTest::newRow("yes: outside the window") << kYes << false << "の外です";
    }
    void realRunnerCarriesTheScheduleOut()
    {
        QFETCH(QString, answer);
        QFETCH(bool, runs);
        QFETCH(QString, conditions);
        const test::WorkDir &dir = m_program->dir;
        test::installRunner(dir, QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(NERUBATO_RUNNER_FOLDER)));
        const QString step = QDir::toNativeSeparators(
            test::installProgram(dir, test::helperPath(QStringLiteral("step")), QStringLiteral("step.exe")));
        // A window two hours ahead: only a test run without the checks runs.
        const QTime now = QTime::currentTime();
        dir.write(runner::kRegistrationFile,
                  joinLines(test::changedLines(
                      QStringLiteral("11=%1;12=%2;14=0;15=3;16=%3;21=ran-yymmdd;47=true")
                          .arg(now.addSecs(2 * 3600).toString(u"HH:mm"),
                               now.addSecs(3 * 3600).toString(u"HH:mm"), step))));
        launchForReal();
        test::MessageAnswerer answers(answer);
        answers.then("OK");
        test::press(main(), "test_Btn");
        QTRY_COMPARE_WITH_TIMEOUT(answers.all().size(), 2, 20000);
        const QString report = answers.all().at(1).text;
        const QStringList lines = report.split(QStringLiteral("\r\n"));
        QVERIFY2(lines.size() == 7, qPrintable(report));
        QVERIFY2(lines[1].startsWith(QStringLiteral("起動条件: ")) && lines[1].contains(conditions),
                 qPrintable(lines[1]));
        const QString ran = QStringLiteral("ran-%1").arg(QDate::currentDate().toString(u"yyMMdd"));
        QCOMPARE(lines[2].contains(QStringLiteral("に起動しました  %1 %2").arg(step, ran)), runs);
        QTRY_COMPARE_WITH_TIMEOUT(dir.exists(ran + QStringLiteral(".started")), runs, 10000);
        QVERIFY(!dir.exists(runner::kMarkerFile));
    }
};

NERUBATO_PROGRAM_TEST_MAIN(TestShell)
#include "tst_shell.moc"
