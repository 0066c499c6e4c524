#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "settings/ScheduleSettings.h"
#include "settings/SettingsFile.h"
#include "shell/TForm3.h"
#include "shell/WindowSet.h"
#include "storage/TForm2.h"
#include "testprogram.h"
#include "ui/Look.h"
#include "ui/Messages.h"
#include "ui/SettingsTarget.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace nerubato;

namespace {

ScheduleSettings timerSchedule()
{
    ScheduleSettings s;
    s.kido_Mode = KidoMode::Timer;
    s.timer_Time = "07:05";
    s.jikko_Path[0] = "C:\\TOOLS\\APP.EXE";
    s.sw_Args[0] = "-x";
    return s;
}

QByteArray fileOf(const ScheduleSettings &s)
{
    return joinLines(settingsToLines(s));
}

const QStringList kRegisteredLines = {"この設定を登録しました",
                                      "テスト実行を行うとこの設定の内容がテストできます",
                                      "quorvex.exeをスタートアップに登録すれば、",
                                      "コンピューター起動時に自動的にこの設定で実行されます"};

} // namespace

class TestStorage : public QObject
{
    Q_OBJECT

    // The whole program, for the flows across windows; made at the first use.
    std::unique_ptr<test::Program> m_program;
    test::Program &program()
    {
        if (!m_program) {
            m_program = std::make_unique<test::Program>();
            main().show();
        }
        return *m_program;
    }

    TForm1 &editor() { return program().editor(); }
    TForm2 &chooser() { return program().slotChooser(); }
    TForm3 &main() { return program().main(); }

    QPushButton *button(QWidget &w, const char *name)
    {
        auto *b = w.findChild<QPushButton *>(name);
        Q_ASSERT(b);
        return b;
    }
    QString prompt() { return chooser().findChild<QLabel *>("msgL")->text(); }

private slots:
    void initTestCase() { installLook(); }

    void cleanup() { m_program.reset(); }

    // Every flow that touches the system's files, from a start directory whose
    // path is Japanese, with the untouched defaults: the 250-byte default file.
    void japaneseStartDirectoryServesEveryFlow()
    {
        test::WorkDir dir;
        const QString start = dir.file(QStringLiteral("設定ソ表"));
        QVERIFY(QDir().mkpath(start));
        QVERIFY(QDir::setCurrent(start));
        test::FakePlatform platform;
        WindowSet windows(platform);
        TForm1 &editor = test::Program::window<TForm1>("Form1");
        TForm2 &slotChooser = test::Program::window<TForm2>("Form2");
        TForm3 &main = windows.mainWindow();
        auto read = [&](const char *name) {
            QFile file(start + u'/' + QLatin1String(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };

        QDir::setCurrent(dir.path()); // where browsing might have left it
        test::press(main, "settei_Btn");
        {
            test::MessageAnswerer answers("はい(&Y)");
            answers.then("OK");
            test::press(editor, "hozon_Btn");
            test::press(slotChooser, "Button1");
        }
        QCOMPARE(read("hozondt1.dat"), test::defaultSettingsFile());
        QCOMPARE(read("kidodata.dat").size(), 250);
        QCOMPARE(read("kidodata.dat"), test::defaultSettingsFile());

        editor.loadLines(settingsToLines(timerSchedule()));
        test::press(editor, "yomidasi");
        test::press(slotChooser, "Button1");
        QCOMPARE(editor.settings(), ScheduleSettings());

        test::press(main, "kaijo_Btn");
        QCOMPARE(editor.windowTitle(), QStringLiteral("登録した設定の表示画面"));
        {
            test::MessageAnswerer answers("いいえ(&N)");
            test::press(main, "test_Btn");
        }
        QCOMPARE(read("tstjikko.dat").size(), 66);
        QCOMPARE(platform.launches.size(), 1);
        QCOMPARE(QDir(platform.launches.at(0).currentDirectory), QDir(start));
        {
            test::MessageAnswerer answers("OK");
            test::press(editor, "hozon_Btn");
        }
        QVERIFY(!QFile::exists(start + QStringLiteral("/kidodata.dat")));
    }

    void saveToSlotAndRegister_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("registered");
        QTest::newRow("yes") << "はい(&Y)" << true;
        QTest::newRow("no") << "いいえ(&N)" << false;
        QTest::newRow("closed") << "<close>" << true;
    }

    void saveToSlotAndRegister()
    {
        QFETCH(QString, answer);
        QFETCH(bool, registered);
        const QByteArray old = fileOf(timerSchedule());
        program().dir.write("kidodata.dat", old);
        editor().show();
        editor().loadLines(settingsToLines(timerSchedule()));

        test::press(editor(), "hozon_Btn");
        QVERIFY(chooser().isVisible());
        QVERIFY(!editor().isEnabled());
        QCOMPARE(prompt(), QStringLiteral("保存先のファイルを選択してください"));

        test::MessageAnswerer answers(answer);
        answers.then("OK");
        test::press(chooser(), "Button3");

        const test::SeenMessage &question = answers.all().at(0);
        QCOMPARE(question.caption, QStringLiteral("情報"));
        QCOMPARE(question.icon, QMessageBox::Information);
        QCOMPARE(question.text,
                 QStringLiteral("ファイル３に保存しました\r\nこの設定を登録しますか？"));
        QCOMPARE(question.buttons, QStringList({"はい(&Y)", "いいえ(&N)"}));
        QCOMPARE(program().dir.read("hozondt3.dat"), fileOf(editor().settings()));
        if (registered) {
            QCOMPARE(program().dir.read("kidodata.dat"), program().dir.read("hozondt3.dat"));
            QCOMPARE(answers.all().size(), 2);
            QCOMPARE(answers.all().at(1).text, kRegisteredLines.join("\r\n"));
            QCOMPARE(answers.all().at(1).buttons, QStringList{"OK"});
        } else {
            QCOMPARE(program().dir.read("kidodata.dat"), old);
            QCOMPARE(answers.all().size(), 1);
        }
        QVERIFY(editor().isEnabled());
        QVERIFY(!chooser().isVisible());
    }

    void loadFromSlot()
    {
        program().dir.write("hozondt2.dat", fileOf(timerSchedule()));
        editor().show();
        test::press(editor(), "yomidasi");
        QVERIFY(chooser().isVisible());
        QVERIFY(editor().isEnabled());
        QCOMPARE(prompt(), QStringLiteral("読み出すファイルを選択してください"));
        test::press(chooser(), "Button2");
        QVERIFY(!chooser().isVisible());
        QCOMPARE(editor().settings(), timerSchedule());
    }

    void loadOfAnEmptySlot_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("stillOpen");
        QTest::addColumn<bool>("folder"); // a folder bears the slot's name
        QTest::newRow("yes keeps the chooser") << "はい(&Y)" << true << false;
        QTest::newRow("no closes it") << "いいえ(&N)" << false << false;
        QTest::newRow("close box, Cancel, keeps it") << "<close>" << true << false;
        QTest::newRow("Esc, No, closes it") << "<esc>" << false << false;
        QTest::newRow("a folder of its name") << "はい(&Y)" << true << true;
    }

    void loadOfAnEmptySlot()
    {
        QFETCH(QString, answer);
        QFETCH(bool, stillOpen);
        QFETCH(bool, folder);
        if (folder)
            QVERIFY(QDir(program().dir.path()).mkdir("hozondt5.dat"));
        editor().show();
        const ScheduleSettings before = editor().settings();
        test::press(editor(), "yomidasi");
        test::MessageAnswerer answers(answer);
        test::press(chooser(), "Button5");
        QCOMPARE(answers.seen().caption, QStringLiteral("ｴﾗｰ"));
        QCOMPARE(answers.seen().text, QStringLiteral("ファイル５にはデータが保存されていません\r\n"
                                                     "他のファイルを読み出しますか？"));
        QCOMPARE(answers.seen().defaultButton, QStringLiteral("はい(&Y)"));
        QCOMPARE(answers.seen().escapeButton, QStringLiteral("いいえ(&N)"));
        QCOMPARE(chooser().isVisible(), stillOpen);
        QCOMPARE(prompt(), QStringLiteral("読み出すファイルを選択してください"));
        QCOMPARE(editor().settings(), before);
    }

    void saveWhileLoadingTurnsTheChooserIntoASaveChooser()
    {
        editor().show();
        test::press(editor(), "yomidasi");
        QVERIFY(editor().isEnabled());
        test::press(editor(), "hozon_Btn");
        QCOMPARE(prompt(), QStringLiteral("保存先のファイルを選択してください"));
        QVERIFY(!editor().isEnabled());
    }

    void cancelAndFrameCloseEnableTheEditor_data()
    {
        QTest::addColumn<bool>("throughFrame");
        QTest::newRow("cancel button") << false;
        QTest::newRow("close box") << true;
    }

    void cancelAndFrameCloseEnableTheEditor()
    {
        QFETCH(bool, throughFrame);
        editor().show();
        test::press(editor(), "hozon_Btn");
        QVERIFY(!editor().isEnabled());
        if (throughFrame)
            chooser().close();
        else
            test::press(chooser(), "cancel_Btn");
        QVERIFY(editor().isEnabled());
        QVERIFY(!chooser().isVisible());
        QVERIFY(!program().dir.exists("hozondt1.dat"));
    }

    // A slot that can't be written stops the flow; the chooser stays for another try.
    void unwritableSlotStopsTheFlow()
    {
        QVERIFY(QDir(program().dir.path()).mkdir("hozondt4.dat"));
        editor().show();
        test::press(editor(), "hozon_Btn");
        test::MessageAnswerer answers("OK");
        test::press(chooser(), "Button4");
        QCOMPARE(answers.seen().caption, QStringLiteral("ネルバト"));
        QCOMPARE(answers.seen().icon, QMessageBox::Critical);
        QCOMPARE(answers.seen().text, QStringLiteral("ﾌｧｲﾙ hozondt4.dat を作成できません."));
        QCOMPARE(answers.seen().buttons, QStringList{"OK"});
        QVERIFY(chooser().isVisible());
        QVERIFY(!editor().isEnabled());
        QVERIFY(!program().dir.exists("kidodata.dat"));
    }

    void shortSlotStopsTheLoad()
    {
        program().dir.write("hozondt1.dat", fileOf(timerSchedule()).left(100));
        editor().show();
        test::press(editor(), "yomidasi");
        test::MessageAnswerer answers("OK");
        test::press(chooser(), "Button1");
        QCOMPARE(answers.seen().text, QStringLiteral("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています."));
        QVERIFY(chooser().isVisible());
    }

    // Saving goes back to the start directory even if the process moved.
    void saveUsesTheStartDirectory()
    {
        QTemporaryDir elsewhere;
        QDir::setCurrent(elsewhere.path());
        editor().show();
        test::press(editor(), "hozon_Btn");
        test::MessageAnswerer answers("いいえ(&N)");
        test::press(chooser(), "Button1");
        QVERIFY(program().dir.exists("hozondt1.dat"));
        QVERIFY(!QFile::exists(elsewhere.filePath("hozondt1.dat")));
    }

    // A start directory that is gone: the message, and nothing written anywhere.
    void lostStartDirectoryStopsTheFlow()
    {
        editor().show();
        const test::StartDirectoryGone gone(program().dir.path());
        test::MessageAnswerer answers("OK");
        test::press(editor(), "hozon_Btn");
        QCOMPARE(answers.seen().caption, QStringLiteral("ｴﾗｰ"));
        QCOMPARE(answers.seen().text,
                 QStringLiteral("カレントディレクトリのセットに失敗しました\r\n"
                                "ファイル操作を正常に行えませんでした"));
        QVERIFY(!editor().isVisible());
        QVERIFY(!chooser().isVisible());
        QVERIFY(editor().isEnabled());
        QCOMPARE(QDir(gone.elsewhere.path()).entryList(QDir::Files), QStringList{});
    }

    void unregister_data()
    {
        QTest::addColumn<bool>("fileThere");
        QTest::newRow("registered") << true;
        QTest::newRow("already gone") << false;
    }

    void unregister()
    {
        QFETCH(bool, fileThere);
        program().dir.write("kidodata.dat", fileOf(timerSchedule()));
        test::press(main(), "kaijo_Btn");
        QVERIFY(editor().isVisible());
        if (!fileThere)
            QFile::remove(program().dir.file("kidodata.dat"));
        test::MessageAnswerer answers("OK");
        test::press(editor(), "hozon_Btn");
        QCOMPARE(answers.seen().caption, QStringLiteral("情報"));
        QCOMPARE(answers.seen().text, QStringLiteral("登録を解除しました"));
        QVERIFY(!program().dir.exists("kidodata.dat"));
        QVERIFY(!editor().isVisible());
    }

    // A registration that can't be deleted is reported, not claimed cancelled.
    // What cannot be removed stays, and says so; a folder of its name is no
    // registration, and there was none to remove.
    void unregisterThatCannotDelete_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::newRow("cannot be removed") << false << "ネルバト" << "ﾌｧｲﾙ kidodata.dat を削除できません.";
        QTest::newRow("a folder of its name") << true << "情報" << "登録を解除しました";
    }
    void unregisterThatCannotDelete()
    {
        QFETCH(bool, folder);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        program().dir.write("kidodata.dat", fileOf(timerSchedule()));
        test::press(main(), "kaijo_Btn");
        std::optional<test::FileBeyondReach> held;
        if (folder) {
            QFile::remove(program().dir.file("kidodata.dat"));
            QVERIFY(QDir(program().dir.path()).mkpath("kidodata.dat/held"));
        } else {
            held.emplace(program().dir, "kidodata.dat");
        }
        test::MessageAnswerer answers("OK");
        test::press(editor(), "hozon_Btn");
        held.reset();
        QCOMPARE(answers.all().size(), 1);
        QCOMPARE(answers.seen().caption, caption);
        QCOMPARE(answers.seen().text, text);
        QCOMPARE(editor().isVisible(), !folder);
        QVERIFY(program().dir.exists("kidodata.dat"));
    }

    // The save question: Yes by default, Esc is No, and No registers nothing.
    void saveQuestionDefaultAndEscape()
    {
        const QByteArray old = fileOf(timerSchedule());
        program().dir.write("kidodata.dat", old);
        editor().show();
        test::press(editor(), "hozon_Btn");
        test::MessageAnswerer answers("<esc>");
        test::press(chooser(), "Button2");
        QCOMPARE(answers.all().size(), 1);
        QCOMPARE(answers.seen().defaultButton, QStringLiteral("はい(&Y)"));
        QCOMPARE(answers.seen().escapeButton, QStringLiteral("いいえ(&N)"));
        QCOMPARE(program().dir.read("kidodata.dat"), old);
        QVERIFY(program().dir.exists("hozondt2.dat"));
        QVERIFY(!chooser().isVisible());
    }

    // The view button while the chooser is open for saving loads the
    // registration into the editor; the slot still gets what was composed.
    void viewDuringASaveLeavesTheSavedLines()
    {
        const QByteArray registered = fileOf(timerSchedule());
        program().dir.write("kidodata.dat", registered);
        editor().show();
        ScheduleSettings composed;
        composed.sw_Args[2] = "composed";
        editor().loadLines(settingsToLines(composed));
        test::press(editor(), "hozon_Btn");
        test::press(main(), "kaijo_Btn");
        QCOMPARE(editor().settings(), timerSchedule());
        test::MessageAnswerer answers("はい(&Y)");
        answers.then("OK");
        test::press(chooser(), "Button5");
        QCOMPARE(program().dir.read("hozondt5.dat"), fileOf(composed));
        QCOMPARE(program().dir.read("kidodata.dat"), fileOf(composed));
    }

    // The slot chooser's cancel or close leaves the editor disabled while the
    // file chooser is open; closing that one enables it.
    void fileChooserKeepsTheEditorDisabled_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("cancel") << "cancel";
        QTest::newRow("close box") << "close";
        QTest::newRow("empty slot, No") << "no";
    }

    void fileChooserKeepsTheEditorDisabled()
    {
        QFETCH(QString, way);
        editor().show();
        test::press(editor(), "yomidasi");
        test::press(editor(), "sansyo_Btn2");
        QWidget &files = program().files();
        QVERIFY(files.isVisible());
        QVERIFY(!editor().isEnabled());
        if (way == "cancel") {
            test::press(chooser(), "cancel_Btn");
        } else if (way == "close") {
            chooser().close();
        } else {
            test::MessageAnswerer answers("いいえ(&N)");
            test::press(chooser(), "Button3");
        }
        QVERIFY(!chooser().isVisible());
        QVERIFY(!editor().isEnabled());
        test::press(files, "Button1");
        QVERIFY(editor().isEnabled());
    }

    // A start directory lost while the chooser is open for loading closes the
    // chooser too; nothing is read or written elsewhere.
    void lostStartDirectoryClosesAnOpenChooser_data()
    {
        QTest::addColumn<QString>("then");
        QTest::newRow("save pressed") << "hozon_Btn";
        QTest::newRow("load pressed again") << "yomidasi";
    }

    void lostStartDirectoryClosesAnOpenChooser()
    {
        QFETCH(QString, then);
        editor().show();
        test::press(editor(), "yomidasi");
        QVERIFY(chooser().isVisible());
        const test::StartDirectoryGone gone(program().dir.path());
        const QTemporaryDir &elsewhere = gone.elsewhere;
        QFile(elsewhere.filePath("hozondt1.dat")).open(QIODevice::WriteOnly);
        {
            test::MessageAnswerer answers("OK");
            test::press(editor(), then);
            QCOMPARE(answers.all().size(), 1);
        }
        QVERIFY(!chooser().isVisible());
        QVERIFY(!editor().isVisible());
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{"hozondt1.dat"});
        QCOMPARE(QFileInfo(elsewhere.filePath("hozondt1.dat")).size(), 0);
    }

    // The slot is written, the registration is not: the old registration
    // stays, the chooser stays open, the editor disabled, for another try.
    void registrationThatCannotBeWritten()
    {
        // Something a file cannot replace stands under the registration's name.
        QVERIFY(QDir(program().dir.path()).mkpath("kidodata.dat/old"));
        editor().show();
        test::press(editor(), "hozon_Btn");
        test::MessageAnswerer answers("はい(&Y)");
        answers.then("OK");
        test::press(chooser(), "Button1");
        QCOMPARE(answers.all().size(), 2);
        QCOMPARE(answers.all().at(1).caption, QStringLiteral("ネルバト"));
        QCOMPARE(answers.all().at(1).text, QStringLiteral("ﾌｧｲﾙ kidodata.dat を作成できません."));
        QVERIFY(program().dir.exists("hozondt1.dat"));
        QVERIFY(QFileInfo(program().dir.file("kidodata.dat/old")).isDir());
        QVERIFY(chooser().isVisible());
        QVERIFY(!editor().isEnabled());
    }

    // Esc in the slot chooser answers as its cancel button.
    void escapeCancelsTheSlotChooser()
    {
        editor().show();
        test::press(editor(), "hozon_Btn");
        QVERIFY(!editor().isEnabled());
        QTest::keyClick(button(chooser(), "Button3"), Qt::Key_Escape);
        QVERIFY(!chooser().isVisible());
        QVERIFY(editor().isEnabled());
        QVERIFY(!program().dir.exists("hozondt3.dat"));
    }

    // The slot chooser as designed.
    void slotChooserAsDesigned()
    {
        test::FakePlatform platform;
        TForm2 chooserAlone(platform, StartFolder(QDir::currentPath()));
        const auto chooser = [&]() -> TForm2 & { return chooserAlone; };
        QCOMPARE(chooser().windowTitle(), QStringLiteral("保存ファイル番号選択画面"));
        QCOMPARE(chooser().size(), QSize(234, 289) - QSize(8, 27));
        QCOMPARE(chooser().font().pixelSize(), 12);
        QCOMPARE(chooser().findChild<QLabel *>("msgL")->geometry(), QRect(23, 24, 180, 12));
        const QStringList names = {"Button1", "Button2", "Button3",
                                   "Button4", "Button5", "cancel_Btn"};
        const QStringList captions = {"ファイル１", "ファイル２", "ファイル３",
                                      "ファイル４", "ファイル５", "キャンセル"};
        const int tops[] = {52, 85, 117, 150, 182, 215};
        for (int i = 0; i < names.size(); ++i) {
            QPushButton *b = button(chooser(), qPrintable(names[i]));
            QCOMPARE(b->text(), captions[i]);
            QCOMPARE(b->geometry(), QRect(50, tops[i], 125, 25));
        }
        QStringList chain;
        QWidget *w = button(chooser(), "Button1");
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != button(chooser(), "Button1"));
        QCOMPARE(chain, names);
    }

    // The slot chooser alone, with a stand-in for the editor.
    void slotChooserAlone()
    {
        test::WorkDir dir;
        test::FakePlatform platform;
        TForm2 slotChooser(platform, StartFolder(dir.path()));
        test::FakeEditor editor;
        slotChooser.setSettingsTarget(&editor);
        QSignalSpy closed(&slotChooser, &TForm2::closedForEditor);

        const Lines lines = settingsToLines(timerSchedule());
        slotChooser.open(SlotAction::Save, lines);
        QVERIFY(slotChooser.isVisible());
        {
            test::MessageAnswerer answer("いいえ(&N)");
            test::press(slotChooser, "Button2");
        }
        QCOMPARE(dir.read("hozondt2.dat"), joinLines(lines));
        QCOMPARE(closed.size(), 1);
        QVERIFY(!slotChooser.isVisible());

        slotChooser.open(SlotAction::Load, {});
        test::press(slotChooser, "Button2");
        QCOMPARE(editor.loaded, QList<Lines>{lines});
        QCOMPARE(closed.size(), 1); // a load closes it without a word to the editor
        QVERIFY(!slotChooser.isVisible());
    }

    void slotLabels()
    {
        QCOMPARE(TForm2::SlotLabel("hozondt1.dat"), QStringLiteral("ファイル１"));
        QCOMPARE(TForm2::SlotLabel("hozondt5.dat"), QStringLiteral("ファイル５"));
        QCOMPARE(TForm2::SlotLabel("kidodata.dat"), QString());
    }
};

NERUBATO_TEST_MAIN(TestStorage)
#include "tst_storage.moc"
