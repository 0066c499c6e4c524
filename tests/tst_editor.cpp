#include "editor/ByteEdit.h"
#include "editor/Stepper.h"
#include "editor/TForm1.h"
#include "settings/Cp932.h"
#include "settings/Errors.h"
#include "settings/SettingsFile.h"
#include "testui.h"
#include "ui/Look.h"
#include "ui/Messages.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>
#include <tuple>

using namespace nerubato;

namespace {

// The default file with some lines (1-based) replaced.
QByteArray fileWith(const QMap<int, QByteArray> &changes)
{
    Lines lines = splitLines(test::defaultSettingsFile());
    for (auto it = changes.begin(); it != changes.end(); ++it)
        lines[it.key() - 1] = it.value();
    return joinLines(lines);
}

const QPoint kUpperArrow(8, 4);
const QPoint kLowerArrow(8, 15);

// The main window's mode, as the editor reads it.
struct Mode : WindowModeSource
{
    WindowMode mode = WindowMode::Create;
    WindowMode windowMode() const override { return mode; }
};

// The editor alone, created as the program creates it, in create mode.
struct Editor
{
    test::WorkDir dir;
    test::FakePlatform platform;
    Mode mode;
    TForm1 form{platform, StartFolder(dir.path())};
    Editor()
    {
        form.setWindowModeSource(&mode);
        form.FormCreate();
        form.presentMode(WindowMode::Create);
    }
};

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

    std::unique_ptr<Editor> m_editor;

    TForm1 &form() { return m_editor->form; }
    template <typename T = QWidget> T *get(const QString &name)
    {
        T *w = form().findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    ByteEdit *edit(const QString &name) { return get<ByteEdit>(name); }
    void show()
    {
        form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
    }
    void click(const QString &name, Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget *w = get(name);
        QTest::mouseClick(w, button, {}, QPoint(6, w->height() / 2));
    }
    // Typed as a keyboard would, also what QTest's Latin-1 key table lacks.
    static void type(QWidget *w, const QString &text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void load(const QByteArray &file) { form().loadLines(splitLines(file)); }
    // What the save button hands the slot chooser.
    QByteArray saved()
    {
        QSignalSpy wanted(&form(), &TForm1::slotChooserWanted);
        test::press(form(), "hozon_Btn");
        form().slotChooserClosed();
        return wanted.isEmpty() ? QByteArray() : joinLines(wanted.at(0).at(1).value<Lines>());
    }

private slots:
    void initTestCase() { installLook(); }
    void init() { m_editor = std::make_unique<Editor>(); }
    void cleanup() { m_editor.reset(); }

    void creation()
    {
        QVERIFY(form().isHidden());
        QCOMPARE(get<QTabWidget>("PageControl1")->currentWidget(), get("TabSheet1"));
        QCOMPARE(form().size(), QSize(602, 403));
        QCOMPARE(get("PageControl1")->geometry(), QRect(1, 7, 600, 354));
        QCOMPARE(get("yomidasi")->geometry(), QRect(120, 369, 153, 25));
        QCOMPARE(get("hozon_Btn")->geometry(), QRect(280, 369, 153, 25));
        QCOMPARE(get("syuryo_Btn")->geometry(), QRect(440, 369, 153, 25));
        auto *tabs = get<QTabWidget>("PageControl1");
        const QStringList pages{"TabSheet1", "TabSheet3", "TabSheet2"};
        const QStringList titles{"主要設定", "オプション", "予約語"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(tabs->widget(i)->objectName(), pages[i]);
            QCOMPARE(tabs->tabText(i), titles[i]);
        }
        QCOMPARE(get<QPushButton>("syuryo_Btn")->text(), QStringLiteral("閉じる"));
        QCOMPARE(get<QPushButton>("yomidasi")->text(), QStringLiteral("ファイルの読出"));
    }

    // The editor's end says so when the start directory has gone meanwhile.
    void endRestoresTheStartDirectory()
    {
        QVERIFY(QDir(m_editor->dir.path()).mkdir("start"));
        TForm1 editor(m_editor->platform, StartFolder(m_editor->dir.file("start")));
        editor.FormCreate();
        {
            test::MessageAnswerer none("OK");
            editor.FormDestroy();
            QVERIFY(none.all().isEmpty());
        }
        QVERIFY(QDir(m_editor->dir.path()).rmdir("start"));
        test::MessageAnswerer answer("OK");
        editor.FormDestroy();
        QCOMPARE(answer.seen().text, QStringLiteral("カレントディレクトリのセットに失敗しました\r\n"
                                                    "ファイル操作を正常に行えませんでした"));
    }

    // The editor alone: what it asks of the other windows it asks through its
    // signals, and what they answer it takes through its handlers.
    void editorAloneTalksThroughSignals()
    {
        test::FakePlatform platform;
        Mode mode;
        TForm1 editor(platform, StartFolder(m_editor->dir.path()));
        editor.setWindowModeSource(&mode);
        QSignalSpy modeWanted(&editor, &TForm1::windowModeWanted);
        QSignalSpy slotChooser(&editor, &TForm1::slotChooserWanted);
        QSignalSpy fileChooser(&editor, &TForm1::fileChooserWanted);
        editor.FormCreate();
        QCOMPARE(modeWanted.size(), 1);
        editor.presentMode(WindowMode::Create);

        test::press(editor, "hozon_Btn");
        QCOMPARE(slotChooser.size(), 1);
        QCOMPARE(slotChooser.at(0).at(0).value<SlotAction>(), SlotAction::Save);
        QCOMPARE(joinLines(slotChooser.at(0).at(1).value<Lines>()), test::defaultSettingsFile());
        QVERIFY(!editor.isEnabled());
        editor.slotChooserClosed();
        QVERIFY(editor.isEnabled());

        test::press(editor, "yomidasi");
        QCOMPARE(slotChooser.size(), 2);
        QCOMPARE(slotChooser.at(1).at(0).value<SlotAction>(), SlotAction::Load);
        test::press(editor, "sansyoBtn3");
        QCOMPARE(fileChooser.size(), 1);
        editor.slotChooserClosed(); // the file chooser is still open
        QVERIFY(!editor.isEnabled());
        editor.programPathChosen(QStringLiteral("C:\\TOOLS\\APP.EXE"));
        QVERIFY(editor.isEnabled());
        QCOMPARE(editor.settings().jikko_Path[2], QByteArray("C:\\TOOLS\\APP.EXE"));
        QCOMPARE(editor.settings().jikko_Path[1], QByteArray());

        mode.mode = WindowMode::View;
        editor.presentMode(WindowMode::View);
        m_editor->dir.write("kidodata.dat", test::defaultSettingsFile());
        test::MessageAnswerer answer("OK");
        test::press(editor, "hozon_Btn");
        QCOMPARE(answer.seen().text, QStringLiteral("登録を解除しました"));
        QVERIFY(!m_editor->dir.exists("kidodata.dat"));
        QCOMPARE(slotChooser.size(), 2);
    }

    void controls_data();
    void controls();
    void groupBoxes_data();
    void groupBoxes();
    void layoutReadsInFull();
    void focusOrder();
    void onlyStepperHints();

    void windowMode_data()
    {
        QTest::addColumn<QList<int>>("modes");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("saveCaption");
        QTest::addColumn<bool>("loadShown");
        QTest::newRow("1") << QList<int>{1} << "設定ファイル作成画面"
                           << "保存と登録" << true;
        QTest::newRow("2") << QList<int>{2} << "登録した設定の表示画面"
                           << "登録した設定の解除" << false;
        QTest::newRow("0 counts as 2") << QList<int>{0} << "登録した設定の表示画面"
                                       << "登録した設定の解除" << false;
        QTest::newRow("2 then 1") << QList<int>{2, 1} << "設定ファイル作成画面"
                                  << "保存と登録" << true;
    }
    void windowMode()
    {
        QFETCH(QList<int>, modes);
        for (int mode : modes)
            form().presentMode(WindowMode(mode));
        QTEST(form().windowTitle(), "caption");
        QTEST(get<QPushButton>("hozon_Btn")->text(), "saveCaption");
        QTEST(!get("yomidasi")->isHidden(), "loadShown");
        QCOMPARE(get<QPushButton>("syuryo_Btn")->text(), QStringLiteral("閉じる"));
    }

    // Clicks from the designed state; the rules must follow the mouse release.
    void rulesFollowMouseRelease_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("enabled");
        QTest::addColumn<QStringList>("disabled");
        QTest::addColumn<QStringList>("checked");
        QTest::newRow("start date on")
            << QStringList{"kidobi_CBox"} << QStringList{"kidobi_Edit", "kidobi_UD"}
            << QStringList{} << QStringList{"kidobi_CBox"};
        QTest::newRow("start date off again")
            << QStringList{"kidobi_CBox", "kidobi_CBox"} << QStringList{}
            << QStringList{"kidobi_Edit", "kidobi_UD"} << QStringList{};
        QTest::newRow("weekdays") << QStringList{"yobi_CBox"}
                                  << QStringList{"niti_CBox", "getu_CBox", "ka_CBox", "sui_CBox",
                                                 "moku_CBox", "kin_CBox",  "do_CBox"}
                                  << QStringList{} << QStringList{"yobi_CBox"};
        QTest::newRow("timer start")
            << QStringList{"ikkai_CBox", "timer_RBtn"}
            << QStringList{"timer_Edit", "timer_UD", "ni_Lbl", "syosai_RBtn", "syosai_RBtn2"}
            << QStringList{"kara_Edit",  "made_Edit", "kara_UD", "made_UD",
                           "ikkai_CBox", "kara_Lbl",  "aida_Lbl"}
            << QStringList{"ikkai_CBox", "timer_RBtn"};
        QTest::newRow("immediate start again")
            << QStringList{"timer_RBtn", "sokuji_RBtn"}
            << QStringList{"kara_Edit",  "made_Edit", "kara_UD", "made_UD",
                           "ikkai_CBox", "kara_Lbl",  "aida_Lbl"}
            << QStringList{"timer_Edit", "timer_UD", "ni_Lbl"} << QStringList{"sokuji_RBtn"};
        QTest::newRow("end at a set time")
            << QStringList{"syuryo2_RBtn"} << QStringList{"syuryo2_Edit", "syuryo2_UD"}
            << QStringList{} << QStringList{"syuryo2_RBtn"};
        QTest::newRow("end after all work")
            << QStringList{"syuryo2_RBtn", "syuryo1_RBtn"}
            << QStringList{"shutdown_RBtn", "reboot_RBtn", "Label25"}
            << QStringList{"syuryo2_Edit", "syuryo2_UD"} << QStringList{"syuryo1_RBtn"};
        QTest::newRow("program 3 independent")
            << QStringList{"dokuritu_CBox3"}
            << QStringList{"jikansa_Edit3", "jikansa_UD3", "Label3", "Label14", "Label7", "Label8"}
            << QStringList{"jikansa_Edit2", "jikansa_UD2",   "jikansa_Edit4",
                           "jikansa_UD4",   "jikansa_Edit5", "jikansa_UD5"}
            << QStringList{"dokuritu_CBox3"};
        QTest::newRow("reserved word")
            << QStringList{"yoyakugo1_CBox"} << QStringList{"kidojiymd_RBtn", "siteiymd_RBtn"}
            << QStringList{"siteiymd_Edit"} << QStringList{"kidojiymd_RBtn"};
        QTest::newRow("specified date")
            << QStringList{"yoyakugo1_CBox", "siteiymd_RBtn"} << QStringList{"siteiymd_Edit"}
            << QStringList{} << QStringList{"siteiymd_RBtn"};
        QTest::newRow("date at start again")
            << QStringList{"yoyakugo1_CBox", "siteiymd_RBtn", "kidojiymd_RBtn"} << QStringList{}
            << QStringList{"siteiymd_Edit"} << QStringList{"kidojiymd_RBtn"};
        QTest::newRow("reserved word off keeps the choice")
            << QStringList{"yoyakugo1_CBox", "siteiymd_RBtn", "yoyakugo1_CBox"} << QStringList{}
            << QStringList{"kidojiymd_RBtn", "siteiymd_RBtn", "siteiymd_Edit"}
            << QStringList{"siteiymd_RBtn"};
        QTest::newRow("no minimising")
            << QStringList{"nominimize_RBtn"} << QStringList{} << QStringList{"smallstart_CBox"}
            << QStringList{"nominimize_RBtn"};
        QTest::newRow("minimising again")
            << QStringList{"nominimize_RBtn", "minimize_RBtn"} << QStringList{"smallstart_CBox"}
            << QStringList{} << QStringList{"minimize_RBtn"};
        // "set:" ticks a box as the program does, running no rule; the release
        // of the right button, or of a press dragged off the box (which ticks
        // nothing), then runs it.
        QTest::newRow("right button")
            << QStringList{"set:kidobi_CBox", "right:kidobi_CBox"}
            << QStringList{"kidobi_Edit", "kidobi_UD"} << QStringList{} << QStringList{"kidobi_CBox"};
        QTest::newRow("press dragged off")
            << QStringList{"set:yoyakugo1_CBox", "off:yoyakugo1_CBox"}
            << QStringList{"kidojiymd_RBtn", "siteiymd_RBtn"} << QStringList{}
            << QStringList{"yoyakugo1_CBox"};
    }
    void rulesFollowMouseRelease()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, enabled);
        QFETCH(QStringList, disabled);
        QFETCH(QStringList, checked);
        show();
        const QString dateBefore = edit("kidobi_Edit")->text();
        for (const QString &step : clicks) {
            const QString how = step.section(u':', 0, -2), name = step.section(u':', -1);
            auto *tabs = get<QTabWidget>("PageControl1");
            for (QWidget *page = get(name); page; page = page->parentWidget())
                if (tabs->indexOf(page) >= 0)
                    tabs->setCurrentWidget(page);
            QWidget *w = get(name);
            if (how == u"set") {
                get<QAbstractButton>(name)->setChecked(true);
            } else if (how == u"off") {
                QTest::mousePress(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
                QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(w->width() + 40, -30));
            } else {
                click(name, how == u"right" ? Qt::RightButton : Qt::LeftButton);
            }
        }
        for (const QString &name : enabled)
            QVERIFY2(get(name)->isEnabled(), qPrintable(name));
        for (const QString &name : disabled)
            QVERIFY2(!get(name)->isEnabled(), qPrintable(name));
        for (const QString &name : checked)
            QVERIFY2(get<QAbstractButton>(name)->isChecked(), qPrintable(name));
        QCOMPARE(edit("kidobi_Edit")->text(), dateBefore);
    }

    // A key that changes a rule's source (Space on a check box, an arrow in a
    // radio group) runs the rule on its release, as the mouse's release does:
    // a user without a mouse would otherwise never reach the dependants. A
    // change the program makes runs none.
    void keyboardRunsTheRule_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("dependant");
        QTest::newRow("space on start date") << "kidobi_CBox" << int(Qt::Key_Space) << "kidobi_CBox"
                                             << "kidobi_Edit";
        QTest::newRow("arrow to timer start") << "sokuji_RBtn" << int(Qt::Key_Down) << "timer_RBtn"
                                              << "timer_UD";
        QTest::newRow("arrow to no minimising")
            << "minimize_RBtn" << int(Qt::Key_Down) << "nominimize_RBtn"
            << "smallstart_CBox";
    }
    void keyboardRunsTheRule()
    {
        QFETCH(QString, source);
        QFETCH(int, key);
        QFETCH(QString, changed);
        QFETCH(QString, dependant);
        show();
        auto *tabs = get<QTabWidget>("PageControl1");
        tabs->setCurrentIndex(source == QLatin1String("minimize_RBtn") ? 1 : 0);
        QWidget *dep = get(dependant);
        const bool before = dep->isEnabled();
        get(source)->setFocus();
        QTest::keyClick(get(source), Qt::Key(key));
        QVERIFY(get<QAbstractButton>(changed)->isChecked());
        QCOMPARE(dep->isEnabled(), !before);
        // Set by the program, the source changes alone.
        get<QAbstractButton>(source)->setChecked(!get<QAbstractButton>(source)->isChecked());
        QCOMPARE(dep->isEnabled(), !before);
    }

    void loadEnablesWithoutClick()
    {
        load(fileWith({{1, "true"}, {10, "false"}}));
        QVERIFY(get("kidobi_Edit")->isEnabled());
        QVERIFY(get("kidobi_UD")->isEnabled());
        QVERIFY(get("timer_Edit")->isEnabled());
        QVERIFY(!get("kara_Edit")->isEnabled());
    }

    void partialLoad()
    {
        edit("siteiymd_Edit")->setText("991231");
        const QByteArray file = fileWith({{1, "true"}, {10, "false"}, {48, "siteiymd"}});
        Lines lines = splitLines(file);
        lines.removeLast();
        QVERIFY_THROWS_EXCEPTION(ListIndexError, form().loadLines(lines));
        QVERIFY(get<QCheckBox>("kidobi_CBox")->isChecked());
        QVERIFY(get<QRadioButton>("timer_RBtn")->isChecked());
        QVERIFY(get<QRadioButton>("siteiymd_RBtn")->isChecked());
        QCOMPARE(edit("siteiymd_Edit")->text(), QStringLiteral("991231"));
        QVERIFY(!get("kidobi_Edit")->isEnabled()); // EnableAll did not run
        QVERIFY(!get("timer_Edit")->isEnabled());

        QVERIFY_THROWS_EXCEPTION(ListIndexError, form().loadLines({}));
        QVERIFY(get<QCheckBox>("kidobi_CBox")->isChecked());
    }

    void loadSaveIsByteIdentical_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("defaults") << test::defaultSettingsFile();
        QTest::newRow("every choice changed") << fileWith({
            {1, "true"},   {2, "02/29"}, {5, "true"},      {10, "false"},  {13, "07:05"},
            {14, "0"},     {15, "900"},  {16, "APP.EXE"},  {26, "C:\\"},   {17, "x.exe"},
            {27, "C:"},    {32, "true"}, {35, "syuryo2"},  {36, "00:00"},  {37, "true"},
            {38, "true"},  {39, "true"}, {40, "false"},    {42, "1000"},   {45, "true"},
            {46, "false"}, {47, "true"}, {48, "siteiymd"}, {49, "240101"},
        });
        QTest::newRow("Shift-JIS with a 0x5C trail byte")
            << fileWith({{18, "\x83\x5C.exe"}, {28, "C:\\\x83\x5C"}, {23, "\x83\x5C \x82\xA0"}});
        QTest::newRow("bytes that are not CP932") << fileWith({
            {2, "\x80\xFF"},
            {19, "a\xA0.exe"},
            {29, "C:\\x\xFF\xFD"},
            {21, "\x81\x7F\x85"},
            {44, "\xFE"},
            {49, "\x82"},
        });
        QTest::newRow("malformed stepper texts")
            << fileWith({{11, "25:99"}, {12, ""}, {15, "abc"}, {41, "-5"}});
    }
    void loadSaveIsByteIdentical()
    {
        QFETCH(QByteArray, file);
        load(file);
        QCOMPARE(saved(), file);
    }

    void editedTextIsSavedAsTyped()
    {
        show();
        load(fileWith({{21, "ab\xFF"}}));
        ByteEdit *args = edit("sw1_Edit");
        args->setFocus();
        args->end(false);
        type(args, QStringLiteral("xソ"));
        const QByteArray edited = splitLines(saved())[20];
        // The undecodable byte the user left stays as it was.
        QCOMPARE(edited, QByteArray("ab\xFFx\x83\x5C"));
        QTest::keyClick(args, Qt::Key_Backspace);
        QTest::keyClick(args, Qt::Key_Backspace);
        QCOMPARE(splitLines(saved())[20], QByteArray("ab\xFF"));

        // What CP932 cannot hold is not typed in at all.
        ByteEdit *path = edit("jikko1_Edit");
        path->setFocus();
        type(path, QStringLiteral("a한b"));
        QCOMPARE(path->text(), QStringLiteral("ab"));
    }

    // However text reaches a field, what came in keeps only what stands before
    // its first line break or NUL; the saved file keeps its 49 lines.
    void textArrivesWithoutLineBreaks_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("incoming");
        QTest::addColumn<QString>("shown");
        QTest::newRow("typed") << "typed"
                               << "one\ntwo"
                               << "aonetwob";
        QTest::newRow("Ctrl+V") << "ctrl+v"
                                << "one\r\ntwo"
                                << "aoneb";
        QTest::newRow("Shift+Insert") << "shift+insert"
                                      << "one\ntwo\n"
                                      << "aoneb";
        QTest::newRow("context menu") << "menu"
                                      << "one\rtwo"
                                      << "aoneb";
        QTest::newRow("dropped") << "drop"
                                 << "one\ntwo"
                                 << "aoneb";
        QTest::newRow("NUL pasted") << "ctrl+v" << QString::fromUtf16(u"x\0y", 3) << "axb";
        QTest::newRow("break first") << "ctrl+v"
                                     << "\nx"
                                     << "ab";
        QTest::newRow("accessible insert") << "a11y insert"
                                           << "one\ntwo"
                                           << "aoneb";
        QTest::newRow("accessible replace") << "a11y replace"
                                            << "one\ntwo"
                                            << "one";
        QTest::newRow("accessible value") << "a11y value"
                                          << "one\ntwo"
                                          << "one";
    }

    void textArrivesWithoutLineBreaks()
    {
        QFETCH(QString, way);
        QFETCH(QString, incoming);
        QFETCH(QString, shown);
        show();
        ByteEdit *args = edit("sw1_Edit");
        args->setFocus();
        args->setText("ab");
        args->setCursorPosition(1);
        QGuiApplication::clipboard()->setText(incoming);
        if (way == "typed") {
            type(args, incoming);
        } else if (way == "ctrl+v") {
            QTest::keyClick(args, Qt::Key_V, Qt::ControlModifier);
        } else if (way == "shift+insert") {
            QTest::keyClick(args, Qt::Key_Insert, Qt::ShiftModifier);
        } else if (way == "menu") {
            std::unique_ptr<QMenu> menu(args->createStandardContextMenu());
            // The menu's paste entry, as the user picks it.
            QAction *paste = nullptr;
            for (QAction *action : menu->actions()) {
                if (action->text().startsWith(QStringLiteral("貼り付け")))
                    paste = action;
            }
            QVERIFY(paste && paste->isEnabled());
            paste->trigger();
        } else if (way == "drop") {
            QMimeData data;
            data.setText(incoming);
            QPoint at(0, args->height() / 2);
            while (args->cursorPositionAt(at) < 1 && at.x() < args->width())
                at.rx() += 1;
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(args, &enter);
            QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(args, &move);
            QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(args, &drop);
        } else {
            QAccessibleInterface *a11y = QAccessible::queryAccessibleInterface(args);
            QVERIFY(a11y && a11y->editableTextInterface());
            if (way == "a11y insert")
                a11y->editableTextInterface()->insertText(1, incoming);
            else if (way == "a11y replace")
                a11y->editableTextInterface()->replaceText(0, 2, incoming);
            else
                a11y->setText(QAccessible::Value, incoming);
        }
        QCOMPARE(args->text(), shown);
        const Lines lines = splitLines(saved());
        QCOMPARE(lines.size(), 49);
        QCOMPARE(lines[20], shown.toLatin1());
    }

    // What CP932 cannot hold is refused however it comes, U+FFFD among it;
    // a U+FFFD that stands for a loaded byte may stay, as the byte does.
    void unsavableTextIsRefused_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("incoming");
        QTest::newRow("pasted replacement character") << "paste" << QStringLiteral("\uFFFD");
        QTest::newRow("pasted hangul") << "paste" << QStringLiteral("한");
        QTest::newRow("typed emoji") << "type" << QStringLiteral("\U0001F600");
        QTest::newRow("accessible insert of hangul") << "a11y" << QStringLiteral("한");
    }

    void unsavableTextIsRefused()
    {
        QFETCH(QString, way);
        QFETCH(QString, incoming);
        show();
        load(fileWith({{21, "ab\xFF"}}));
        ByteEdit *args = edit("sw1_Edit");
        args->setFocus();
        args->setCursorPosition(1);
        const QString before = args->text();
        QCOMPARE(before, QStringLiteral("ab\uFFFD"));
        if (way == "paste") {
            QGuiApplication::clipboard()->setText(incoming);
            QTest::keyClick(args, Qt::Key_V, Qt::ControlModifier);
        } else if (way == "type") {
            type(args, incoming);
        } else {
            QAccessible::queryAccessibleInterface(args)->editableTextInterface()->insertText(
                1, incoming);
        }
        QCOMPARE(args->text(), before);
        QCOMPARE(splitLines(saved())[20], QByteArray("ab\xFF"));
    }

    // Lines longer than QLineEdit's default limit of 32,767 characters, loaded
    // and saved untouched, come back byte for byte.
    void longLoadedTextIsKept_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("40,000 bytes") << 40000;
        QTest::newRow("100,000 bytes") << 100000;
        QTest::newRow("1 MiB") << 1024 * 1024;
    }

    void longLoadedTextIsKept()
    {
        QFETCH(int, size);
        // ASCII, double-byte characters, one with 0x5C as its trail, a stray byte.
        const QByteArray unit("run.exe /x \x95\x5C\x8C\x76\xFF ");
        QByteArray line;
        while (line.size() < size)
            line += unit;
        line.truncate(size);
        const QByteArray file = fileWith({{21, line}, {49, line}});
        load(file);
        QCOMPARE(saved(), file);
    }

    // A lone lead byte at the end shows as a visible character, makes a step
    // fail with its conversion error, and is saved back as it was.
    void loneLeadByteAtTheEnd()
    {
        show();
        const QByteArray file = fileWith({{1, "true"}, {2, "01/0\x82"}});
        load(file);
        QCOMPARE(edit("kidobi_Edit")->text(), QStringLiteral("01/0\uFFFD"));
        test::MessageAnswerer box("OK");
        QTest::mouseClick(get("kidobi_UD"), Qt::LeftButton, {}, kUpperArrow);
        QCOMPARE(box.seen().text, QStringLiteral("'01/0\uFFFD' は日付ではありません."));
        QCOMPARE(saved(), file);
    }

    void clearButtonEmptiesItsRowOnly()
    {
        show();
        load(fileWith({{17, "two.exe"},
                       {18, "three.exe"},
                       {22, "-2"},
                       {23, "-3"},
                       {32, "true"},
                       {42, "15"}}));
        click("clear_Btn3");
        QVERIFY(edit("jikko3_Edit")->text().isEmpty());
        QVERIFY(edit("sw3_Edit")->text().isEmpty());
        QCOMPARE(edit("jikko2_Edit")->text(), QStringLiteral("two.exe"));
        QCOMPARE(edit("sw2_Edit")->text(), QStringLiteral("-2"));
        QVERIFY(get<QCheckBox>("dokuritu_CBox3")->isChecked());
        QCOMPARE(edit("jikansa_Edit3")->text(), QStringLiteral("15"));
        QVERIFY(get("jikansa_Edit3")->isEnabled());
    }

    void commandAndBrowseButtons()
    {
        show();
        QSignalSpy fileChooser(&form(), &TForm1::fileChooserWanted);
        const QStringList browse{"sansyo_Btn1", "sansyo_Btn2", "sansyoBtn3", "sansyo_Btn4",
                                 "sansyo_Btn5"};
        for (int n = 1; n <= 5; ++n) {
            QTest::mouseClick(get(browse[n - 1]), Qt::LeftButton);
            QCOMPARE(fileChooser.size(), n);
            // The chooser holds the editor until it closes, and fills this row.
            QVERIFY(!form().isEnabled());
            form().programPathChosen(QStringLiteral("P%1.EXE").arg(n));
            QVERIFY(form().isEnabled());
            QCOMPARE(edit(QStringLiteral("jikko%1_Edit").arg(n))->text(), QStringLiteral("P%1.EXE").arg(n));
        }
        QTest::mouseClick(get("syuryo_Btn"), Qt::LeftButton);
        QVERIFY(form().isHidden());
    }

    // Centred at the first showing only; later showings keep the user's place.
    void placement()
    {
        show();
        const QRect screen = form().screen()->availableGeometry();
        QVERIFY(qAbs(form().frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(form().frameGeometry().center().y() - screen.center().y()) <= 1);
        form().hide();
        form().move(10, 20);
        show();
        QCOMPARE(form().pos(), QPoint(10, 20));
    }

    void steppers_data();
    void steppers();
    void keysStepTheFields_data() { steppers_data(); }
    void keysStepTheFields();
    void heldKeyRepeatsAndUnreadableTextFails();
    void accessibleNamesAreOwnPerPage();
    void steppersAreSpinButtons();
    void conversionErrors_data();
    void conversionErrors();
    void disabledStepperIgnoresButtons_data();
    void disabledStepperIgnoresButtons();
    void autoRepeat();
    void failedStepDoesNotRepeat();
};

void TestEditor::controls_data()
{
    enum { Checked = 1, Disabled = 2, ReadOnly = 4 };
    struct Row
    {
        const char *name, *group, *text;
        int state;
    };
    static const Row rows[] = {
        {"kidobi_CBox", "GroupBox6", "起動日を指定する", 0},
        {"kidobi_Edit", "GroupBox6", "01/01", Disabled | ReadOnly},
        {"yobi_CBox", "GroupBox1", "起動曜日を指定する", 0},
        {"niti_CBox", "GroupBox1", "日", Disabled},
        {"getu_CBox", "GroupBox1", "月", Disabled},
        {"ka_CBox", "GroupBox1", "火", Disabled},
        {"sui_CBox", "GroupBox1", "水", Disabled},
        {"moku_CBox", "GroupBox1", "木", Disabled},
        {"kin_CBox", "GroupBox1", "金", Disabled},
        {"do_CBox", "GroupBox1", "土", Disabled},
        {"sokuji_RBtn", "GroupBox3", "即時起動", Checked},
        {"kara_Edit", "GroupBox3", "00:00", ReadOnly},
        {"kara_Lbl", "GroupBox3", "から", 0},
        {"made_Edit", "GroupBox3", "23:59", ReadOnly},
        {"aida_Lbl", "GroupBox3", "の間なら起動する", 0},
        {"ikkai_CBox", "GroupBox3", "一日一度だけ起動する", 0},
        {"timer_RBtn", "GroupBox3", "タイマー起動", 0},
        {"timer_Edit", "GroupBox3", "00:00", Disabled | ReadOnly},
        {"ni_Lbl", "GroupBox3", "に起動する", Disabled},
        {"Label2", "GroupBox4", "実行ファイル", 0},
        {"Label11", "GroupBox4", "実行時引数", 0},
        {"Label12", "GroupBox4", "時間差", 0},
        {"Label10", "GroupBox4", "ＰＧＭ１", 0},
        {"Label13", "GroupBox4", "ＰＧＭ2", 0},
        {"Label16", "GroupBox4", "ＰＧＭ3", 0},
        {"Label19", "GroupBox4", "ＰＧＭ4", 0},
        {"Label22", "GroupBox4", "ＰＧＭ5", 0},
        {"sansyo_Btn1", "GroupBox4", "参照", 0},
        {"sansyo_Btn2", "GroupBox4", "参照", 0},
        {"sansyoBtn3", "GroupBox4", "参照", 0},
        {"sansyo_Btn4", "GroupBox4", "参照", 0},
        {"sansyo_Btn5", "GroupBox4", "参照", 0},
        {"Label3", "GroupBox4", "分", 0},
        {"Label14", "GroupBox4", "分", 0},
        {"Label7", "GroupBox4", "分", 0},
        {"Label8", "GroupBox4", "分", 0},
        {"syuryo1_RBtn", "GroupBox5", "全ての作業実行後Windowsを終了する", 0},
        {"syuryo2_RBtn", "GroupBox5", "設定した時間にWindowsを終了する　（終了時間", 0},
        {"syuryo2_Edit", "GroupBox5", "23:59", Disabled | ReadOnly},
        {"Label25", "GroupBox5", "）", 0},
        {"syuryo3_RBtn", "GroupBox5", "Windowsを終了しない", Checked},
        {"Label4", "GroupBox2", "実行までのメッセージ時間", 0},
        {"message_Edit", "GroupBox2", "30", ReadOnly},
        {"Label6", "GroupBox2", "秒", 0},
        {"Label1", "GroupBox2", "ビープ音発生時間", 0},
        {"kensyutu_Edit", "GroupBox2", "10", ReadOnly},
        {"Label5", "GroupBox2", "秒", 0},
        {"syosai_RBtn", "GroupBox7", "ＰＧＭ起動した時点でその日に起動したと見なす", Checked},
        {"syosai_RBtn2", "GroupBox7", "全ての処理を終了した時点でその日に起動したと見なす", 0},
        {"minimize_RBtn", "GroupBox8", "自動最小化する", Checked},
        {"smallstart_CBox", "GroupBox8", "最初から最小化された状態で起動する", 0},
        {"nominimize_RBtn", "GroupBox8", "自動最小化しない", 0},
        {"shutdown_RBtn", "GroupBox9", "ｺﾝﾋﾟｭｰﾀの電源を切れる状態にする", Checked},
        {"reboot_RBtn", "GroupBox9", "ｺﾝﾋﾟｭｰﾀを再起動する", 0},
        {"yoyakugo1_CBox", "GroupBox10", "yymmddを年月日を表す予約語として使用する", 0},
        {"Label9", "GroupBox10", "（このチェックボックスをオンにすると実行ファイル及び", 0},
        {"Label15", "GroupBox10", " 実行時引数の文字の中のyymmddを西暦の年月日に", 0},
        {"Label17", "GroupBox10", " 置き換えて実行します）", 0},
        {"kidojiymd_RBtn", "GroupBox10", "yymmddを起動時の年月日に置き換える", Checked | Disabled},
        {"siteiymd_RBtn", "GroupBox10", "置き換える年月日を指定する", Disabled},
        {"siteiymd_Edit", "GroupBox10", "970101", Disabled},
    };
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("state");
    for (const Row &r : rows)
        QTest::newRow(r.name) << r.group << QString::fromUtf8(r.text) << r.state;
    for (int n = 1; n <= 5; ++n) {
        QTest::addRow("jikko%d_Edit", n) << "GroupBox4" << QString() << 0;
        QTest::addRow("sw%d_Edit", n) << "GroupBox4" << QString() << 0;
        QTest::addRow("clear_Btn%d", n) << "GroupBox4" << QStringLiteral("ｸﾘｱ") << 0;
        if (n > 1) {
            QTest::addRow("dokuritu_CBox%d", n)
                << "GroupBox4" << QStringLiteral("独立実行する") << 0;
            QTest::addRow("jikansa_Edit%d", n) << "GroupBox4"
                                               << "0" << (Disabled | ReadOnly);
        }
    }
}

void TestEditor::controls()
{
    QFETCH(QString, group);
    QFETCH(QString, text);
    QFETCH(int, state);
    QWidget *w = get(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(w->parentWidget()->objectName(), group);
    QString shown;
    if (auto *b = qobject_cast<QAbstractButton *>(w)) {
        shown = b->text();
        QCOMPARE(b->isChecked(), bool(state & 1));
    } else if (auto *l = qobject_cast<QLabel *>(w)) {
        shown = l->text();
    } else {
        auto *e = qobject_cast<QLineEdit *>(w);
        QVERIFY(e);
        shown = e->text();
        QCOMPARE(e->isReadOnly(), bool(state & 4));
    }
    QCOMPARE(shown, text);
    QCOMPARE(w->isEnabled(), !(state & 2));
}

void TestEditor::groupBoxes_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("GroupBox6") << "TabSheet1"
                               << "起動日設定" << QRect(10, 4, 295, 69);
    QTest::newRow("GroupBox1") << "TabSheet1"
                               << "起動曜日設定" << QRect(8, 80, 297, 73);
    QTest::newRow("GroupBox3") << "TabSheet1"
                               << "起動時間設定" << QRect(313, 5, 272, 148);
    QTest::newRow("GroupBox4") << "TabSheet1"
                               << "実行アプリケーション設定" << QRect(7, 158, 578, 153);
    QTest::newRow("GroupBox5") << "TabSheet3"
                               << "Windows終了設定" << QRect(16, 14, 361, 99);
    QTest::newRow("GroupBox2") << "TabSheet3"
                               << "実行メッセージ時間設定" << QRect(16, 120, 241, 73);
    QTest::newRow("GroupBox7") << "TabSheet3"
                               << "「一日一度だけ起動」の詳細" << QRect(264, 120, 321, 73);
    QTest::newRow("GroupBox8") << "TabSheet3"
                               << "タイマー起動時の自動最小化" << QRect(16, 198, 281, 99);
    QTest::newRow("GroupBox9") << "TabSheet3"
                               << "「Windows終了」の詳細" << QRect(308, 199, 277, 98);
    QTest::newRow("GroupBox10") << "TabSheet2"
                                << "実行ファイル及び実行時引数における予約語"
                                << QRect(28, 23, 325, 162);
}

void TestEditor::groupBoxes()
{
    QFETCH(QString, page);
    auto *box = get<QGroupBox>(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(box->parentWidget()->objectName(), page);
    QTEST(box->title(), "title");
    QTEST(box->geometry(), "rect");
}

// Every caption fits its control, and no two controls of a group box overlap
// or leave it.
namespace {

// The width an edit needs to show its whole text: the text, the edit's own
// margin of 2 pixels each side, and what the style's frame takes.
int lineEditWidthFor(QLineEdit *e)
{
    QStyleOptionFrame frame;
    frame.initFrom(e);
    frame.rect = e->rect();
    frame.lineWidth =
        e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, e) : 0;
    const QRect contents = e->style()->subElementRect(QStyle::SE_LineEditContents, &frame, e);
    return e->fontMetrics().horizontalAdvance(e->text()) + 2 * 2 + (e->width() - contents.width());
}

} // namespace

void TestEditor::layoutReadsInFull()
{
    show();
    for (auto *tab : {"TabSheet1", "TabSheet3", "TabSheet2"}) {
        QWidget *page = get(tab);
        for (auto *box : page->findChildren<QGroupBox *>()) {
            QVERIFY2(page->rect().contains(box->geometry()), qPrintable(box->objectName()));
            const auto children = box->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
            const QRect inside = box->rect().adjusted(2, 15, -2, -2);
            for (QWidget *w : children) {
                const QString name = w->objectName();
                QVERIFY2(inside.contains(w->geometry()), qPrintable(name));
                for (QWidget *other : children)
                    QVERIFY2(other == w || !other->geometry().intersects(w->geometry()),
                             qPrintable(name + " / " + other->objectName()));
                int needed = 0;
                if (auto *e = qobject_cast<QLineEdit *>(w))
                    needed = lineEditWidthFor(e);
                else if (auto *b = qobject_cast<QPushButton *>(w))
                    needed = b->fontMetrics().horizontalAdvance(b->text()) + 8;
                else if (qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w))
                    needed = w->sizeHint().width();
                QVERIFY2(needed <= w->width(), qPrintable(QStringLiteral("%1: %2 px for %3 px")
                                                              .arg(name)
                                                              .arg(needed)
                                                              .arg(w->width())));
            }
        }
    }
}

void TestEditor::focusOrder()
{
    const QStringList expected{
        "PageControl1",    "kidobi_CBox",   "kidobi_Edit",   "yobi_CBox",      "niti_CBox",
        "getu_CBox",       "ka_CBox",       "sui_CBox",      "moku_CBox",      "kin_CBox",
        "do_CBox",         "sokuji_RBtn",   "kara_Edit",     "made_Edit",      "ikkai_CBox",
        "timer_RBtn",      "timer_Edit",    "jikko1_Edit",   "sansyo_Btn1",    "clear_Btn1",
        "sw1_Edit",        "jikko2_Edit",   "sansyo_Btn2",   "clear_Btn2",     "sw2_Edit",
        "dokuritu_CBox2",  "jikko3_Edit",   "sansyoBtn3",    "clear_Btn3",     "sw3_Edit",
        "dokuritu_CBox3",  "jikko4_Edit",   "sansyo_Btn4",   "clear_Btn4",     "sw4_Edit",
        "dokuritu_CBox4",  "jikko5_Edit",   "sansyo_Btn5",   "clear_Btn5",     "sw5_Edit",
        "dokuritu_CBox5",  "jikansa_Edit2", "jikansa_Edit3", "jikansa_Edit4",  "jikansa_Edit5",
        "syuryo1_RBtn",    "syuryo2_RBtn",  "syuryo2_Edit",  "syuryo3_RBtn",   "message_Edit",
        "kensyutu_Edit",   "syosai_RBtn",   "syosai_RBtn2",  "minimize_RBtn",  "smallstart_CBox",
        "nominimize_RBtn", "shutdown_RBtn", "reboot_RBtn",   "yoyakugo1_CBox", "kidojiymd_RBtn",
        "siteiymd_RBtn",   "siteiymd_Edit", "yomidasi",      "hozon_Btn",      "syuryo_Btn"};
    QStringList chain;
    QWidget *start = get("PageControl1");
    QWidget *w = start;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && expected.contains(w->objectName()))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start);
    QCOMPARE(chain, expected);
}

void TestEditor::onlyStepperHints()
{
    const QString time = "右クリックで時間が、左クリックで分が変更できます";
    const QString minutes = "右クリックで10分、左クリックで1分変化します";
    const QString seconds = "右クリックで30秒、左クリックで1秒変化します";
    const QMap<QString, QString> hints{
        {"kidobi_UD", "右クリックで月が、左クリックで日が変更できます"},
        {"kara_UD", time},
        {"made_UD", time},
        {"timer_UD", time},
        {"syuryo2_UD", time},
        {"message_UD", seconds},
        {"kensyutu_UD", seconds},
        {"jikansa_UD2", minutes},
        {"jikansa_UD3", minutes},
        {"jikansa_UD4", minutes},
        {"jikansa_UD5", minutes}};
    int steppers = 0;
    for (QWidget *w : form().findChildren<QWidget *>()) {
        QCOMPARE(w->toolTip(), hints.value(w->objectName()));
        if (auto *s = qobject_cast<Stepper *>(w)) {
            ++steppers;
            QCOMPARE(s->size(), QSize(16, 20));
            QCOMPARE(s->focusPolicy(), Qt::NoFocus);
        }
    }
    QCOMPARE(steppers, 11);
}

// One row per stepper: the widget reaches its own field with its own rule.
// (Every row of the stepper tables is tested on the rules themselves.)
void TestEditor::steppers_data()
{
    QTest::addColumn<QString>("stepper");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("up");
    QTest::addColumn<QString>("down");
    QTest::addColumn<QString>("right");
    QTest::newRow("kidobi") << "kidobi_UD"
                            << "kidobi_Edit"
                            << "02/29"
                            << "03/01"
                            << "02/28"
                            << "03/29";
    for (const char *name : {"kara", "made", "timer", "syuryo2"})
        QTest::addRow("%s", name) << QStringLiteral("%1_UD").arg(name)
                                  << QStringLiteral("%1_Edit").arg(name) << "23:59"
                                  << "00:00"
                                  << "23:58"
                                  << "00:59";
    QTest::newRow("message") << "message_UD"
                             << "message_Edit"
                             << "871"
                             << "872"
                             << "870"
                             << "3";
    QTest::newRow("kensyutu") << "kensyutu_UD"
                              << "kensyutu_Edit"
                              << "871"
                              << "872"
                              << "870"
                              << "1";
    for (int n = 2; n <= 5; ++n)
        QTest::addRow("jikansa %d", n) << QStringLiteral("jikansa_UD%1").arg(n)
                                       << QStringLiteral("jikansa_Edit%1").arg(n) << "295"
                                       << "296"
                                       << "294"
                                       << "5";
}

// Each row through the real widget: a left click on either arrow, and a right
// press on either arrow, each from the same text.
void TestEditor::steppers()
{
    QFETCH(QString, stepper);
    QFETCH(QString, field);
    QFETCH(QString, before);
    show();
    auto *ud = get<Stepper>(stepper);
    ByteEdit *text = edit(field);
    ud->setEnabled(true);
    const auto from = [&] {
        text->setBytes(before.toLatin1());
        return text;
    };
    from();
    QTest::mouseClick(ud, Qt::LeftButton, {}, kUpperArrow);
    QTEST(text->text(), "up");
    from();
    QTest::mouseClick(ud, Qt::LeftButton, {}, kLowerArrow);
    QTEST(text->text(), "down");
    for (QPoint at : {kUpperArrow, kLowerArrow}) {
        from();
        QTest::mousePress(ud, Qt::RightButton, {}, at);
        QTest::mouseRelease(ud, Qt::RightButton, {}, at);
        QTEST(text->text(), "right");
    }
    QCOMPARE(m_editor->platform.beeps, 0);
}

void TestEditor::conversionErrors_data()
{
    QTest::addColumn<QString>("stepper");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("time up") << "kara_UD"
                             << "kara_Edit"
                             << "24:00" << int(Qt::LeftButton) << "'24:00' は時刻ではありません.";
    QTest::newRow("empty time, right") << "timer_UD"
                                       << "timer_Edit"
                                       << "" << int(Qt::RightButton) << "'' は時刻ではありません.";
    QTest::newRow("date up") << "kidobi_UD"
                             << "kidobi_Edit"
                             << "02/30" << int(Qt::LeftButton) << "'02/30' は日付ではありません.";
    QTest::newRow("date right") << "kidobi_UD"
                                << "kidobi_Edit"
                                << "13/01" << int(Qt::RightButton)
                                << "'13/01' は日付ではありません.";
    QTest::newRow("number up") << "message_UD"
                               << "message_Edit"
                               << "abc" << int(Qt::LeftButton) << "'abc' は整数ではありません.";
    QTest::newRow("empty number, right")
        << "jikansa_UD4"
        << "jikansa_Edit4"
        << "" << int(Qt::RightButton) << "'' は整数ではありません.";
}

void TestEditor::conversionErrors()
{
    QFETCH(QString, stepper);
    QFETCH(QString, field);
    QFETCH(QString, before);
    QFETCH(int, button);
    show();
    auto *ud = get<Stepper>(stepper);
    ud->setEnabled(true);
    edit(field)->setBytes(before.toLatin1());
    test::MessageAnswerer answer("OK");
    QTest::mouseClick(ud, Qt::MouseButton(button), {}, kUpperArrow);
    QVERIFY(answer.seen().seen);
    QTEST(answer.seen().text, "message");
    QCOMPARE(answer.seen().caption, QStringLiteral("ネルバト"));
    QCOMPARE(answer.seen().icon, QMessageBox::Critical);
    QCOMPARE(answer.seen().buttons, QStringList{"OK"});
    QCOMPARE(edit(field)->text(), before);
    QCOMPARE(m_editor->platform.beeps, 1);
}

// At start every stepper of a disabled field is disabled too, and inert.
void TestEditor::disabledStepperIgnoresButtons_data()
{
    QTest::addColumn<QString>("stepper");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("start date") << "kidobi_UD" << "kidobi_Edit" << "01/01";
    QTest::newRow("timer") << "timer_UD" << "timer_Edit" << "00:00";
    QTest::newRow("end time") << "syuryo2_UD" << "syuryo2_Edit" << "23:59";
    for (const char *n : {"2", "3", "4", "5"})
        QTest::addRow("delay %s", n) << QStringLiteral("jikansa_UD") + n
                                     << QStringLiteral("jikansa_Edit") + n << "0";
}

void TestEditor::disabledStepperIgnoresButtons()
{
    QFETCH(QString, stepper);
    QFETCH(QString, field);
    QFETCH(QString, text);
    show();
    auto *ud = get<Stepper>(stepper);
    QVERIFY(!ud->isEnabled());
    QTest::mouseClick(ud, Qt::LeftButton, {}, kUpperArrow);
    QTest::mouseClick(ud, Qt::LeftButton, {}, kLowerArrow);
    QTest::mouseClick(ud, Qt::RightButton, {}, kUpperArrow);
    QCOMPARE(edit(field)->text(), text);
}

// Held on an arrow, the stepper steps again at each tick of its repeat timer
// until the button is released; the right button makes its one big step.
// The timer is ticked by its own signal, never waited for.
void TestEditor::autoRepeat()
{
    show();
    auto *ud = get<Stepper>("kara_UD");
    QTimer *repeat = ud->findChild<QTimer *>();
    QVERIFY(repeat);
    const auto tick = [repeat] { QMetaObject::invokeMethod(repeat, "timeout"); };
    ByteEdit *field = edit("kara_Edit");
    QTest::mousePress(ud, Qt::LeftButton, {}, kUpperArrow);
    QCOMPARE(field->text(), QStringLiteral("00:01"));
    QVERIFY(repeat->isActive());
    tick();
    tick();
    QCOMPARE(field->text(), QStringLiteral("00:03"));
    QTest::mouseRelease(ud, Qt::LeftButton, {}, kUpperArrow);
    QVERIFY(!repeat->isActive());
    tick();
    QCOMPARE(field->text(), QStringLiteral("00:03"));

    QTest::mousePress(ud, Qt::RightButton, {}, kLowerArrow);
    QVERIFY(!repeat->isActive());
    QTest::mouseRelease(ud, Qt::RightButton, {}, kLowerArrow);
    QCOMPARE(field->text(), QStringLiteral("01:03"));
}

// The error box takes the mouse; its release never reaches the stepper, which
// must not go on stepping into one box after another.
void TestEditor::failedStepDoesNotRepeat()
{
    show();
    auto *ud = get<Stepper>("made_UD");
    edit("made_Edit")->setBytes("9:99");
    test::MessageAnswerer answer("OK");
    QTest::mousePress(ud, Qt::LeftButton, {}, kUpperArrow);
    QCOMPARE(answer.all().size(), 1);
    QVERIFY(!ud->findChild<QTimer *>()->isActive());
    QTest::mouseRelease(ud, Qt::LeftButton, {}, kUpperArrow);
}

// With the keyboard focus in a stepped field, Up, Down and Page Up step it
// as its stepper's arrows and right button do.
void TestEditor::keysStepTheFields()
{
    QFETCH(QString, stepper);
    QFETCH(QString, field);
    QFETCH(QString, before);
    show();
    ByteEdit *text = edit(field);
    text->setEnabled(true);
    const auto press = [&](Qt::Key key) {
        text->setBytes(before.toLatin1());
        text->setFocus();
        QTest::keyClick(text, key);
        return text->text();
    };
    QTEST(press(Qt::Key_Up), "up");
    QTEST(press(Qt::Key_Down), "down");
    QTEST(press(Qt::Key_PageUp), "right");
    QCOMPARE(m_editor->platform.beeps, 0);
    // A disabled field takes no focus, and so no step.
    text->setEnabled(false);
    text->setBytes(before.toLatin1());
    QTest::keyClick(text, Qt::Key_Up);
    QCOMPARE(text->text(), before);
}

void TestEditor::heldKeyRepeatsAndUnreadableTextFails()
{
    show();
    ByteEdit *text = edit("kara_Edit");
    text->setFocus();
    QTest::keyPress(text, Qt::Key_Up);
    for (int i = 0; i < 4; ++i)
        QTest::sendKeyEvent(QTest::Press, text, Qt::Key_Up, QString(), Qt::NoModifier, 0);
    QCOMPARE(text->text(), QStringLiteral("00:05"));
    text->setBytes("24:00");
    test::MessageAnswerer answer("OK");
    QTest::keyClick(text, Qt::Key_PageUp);
    QCOMPARE(answer.seen().text, QStringLiteral("'24:00' は時刻ではありません."));
    QCOMPARE(text->text(), QStringLiteral("24:00"));
}

// Every field and button has a name of its own on its page, in the editor's
// words; what they show is unchanged.
void TestEditor::accessibleNamesAreOwnPerPage()
{
    const auto nameOf = [](QWidget *w) {
        return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
    };
    QWidget *commands[] = {get("yomidasi"), get("hozon_Btn"), get("syuryo_Btn")};
    for (const char *page : {"TabSheet1", "TabSheet3", "TabSheet2"}) {
        QStringList names;
        for (QWidget *w : get(page)->findChildren<QWidget *>()) {
            if (qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractButton *>(w) ||
                qobject_cast<Stepper *>(w))
                names << nameOf(w);
        }
        for (QWidget *w : commands)
            names << nameOf(w);
        QVERIFY2(!names.contains(QString()), page);
        const QSet<QString> once(names.begin(), names.end());
        QVERIFY2(once.size() == names.size(), page);
    }
    const QList<std::pair<const char *, QString>> expected = {
        {"jikko3_Edit", "ＰＧＭ３ 実行ファイル"},
        {"sw3_Edit", "ＰＧＭ３ 実行時引数"},
        {"sansyoBtn3", "ＰＧＭ３ 参照"},
        {"clear_Btn3", "ＰＧＭ３ ｸﾘｱ"},
        {"jikansa_Edit2", "ＰＧＭ２ 時間差（分）"},
        {"dokuritu_CBox5", "ＰＧＭ５ 独立実行する"},
        {"kara_Edit", "起動時間 から"},
        {"made_Edit", "起動時間 まで"},
        {"niti_CBox", "日"},
        {"hozon_Btn", "保存と登録"}};
    for (const auto &[control, name] : expected)
        QCOMPARE(nameOf(get(control)), name);
    QCOMPARE(get<QPushButton>("sansyoBtn3")->text(), QStringLiteral("参照"));
    QCOMPARE(get<QPushButton>("clear_Btn3")->text(), QStringLiteral("ｸﾘｱ"));
}

// To an assistive technology each stepper is a spin button whose value is its
// field's text, described by its hint, with increase and decrease actions
// that make the small steps; its field says its unit and range.
void TestEditor::steppersAreSpinButtons()
{
    show();
    const QList<std::pair<const char *, QString>> ranges = {{"kidobi_Edit", "01/01～12/31"},
                                                            {"kara_Edit", "00:00～23:59"},
                                                            {"message_Edit", "3～900秒"},
                                                            {"kensyutu_Edit", "0～900秒"},
                                                            {"jikansa_Edit4", "0～300分"}};
    for (const auto &[field, range] : ranges)
        QCOMPARE(QAccessible::queryAccessibleInterface(get(field))->text(QAccessible::Description),
                 range);
    // Each stepper, its field, and the field's text one small step up from its default.
    const QList<std::tuple<const char *, const char *, QString>> rows = {
        {"kidobi_UD", "kidobi_Edit", "01/02"},       {"kara_UD", "kara_Edit", "00:01"},
        {"made_UD", "made_Edit", "00:00"},           {"timer_UD", "timer_Edit", "00:01"},
        {"syuryo2_UD", "syuryo2_Edit", "00:00"},     {"message_UD", "message_Edit", "31"},
        {"kensyutu_UD", "kensyutu_Edit", "11"},      {"jikansa_UD2", "jikansa_Edit2", "1"},
        {"jikansa_UD3", "jikansa_Edit3", "1"},       {"jikansa_UD4", "jikansa_Edit4", "1"},
        {"jikansa_UD5", "jikansa_Edit5", "1"}};
    for (const auto &[stepper, fieldName, increased] : rows) {
        auto *ud = get<Stepper>(stepper);
        ByteEdit *field = edit(fieldName);
        QAccessibleInterface *a11y = QAccessible::queryAccessibleInterface(ud);
        QVERIFY(a11y);
        QCOMPARE(a11y->role(), QAccessible::SpinBox);
        QCOMPARE(a11y->text(QAccessible::Description), ud->toolTip());
        QCOMPARE(a11y->text(QAccessible::Name), field->accessibleName() + u" 増減"_qs);
        QAccessibleActionInterface *actions = a11y->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::increaseAction()));
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::decreaseAction()));
        ud->setEnabled(true);
        const QString before = field->text();
        QCOMPARE(a11y->text(QAccessible::Value), before);
        actions->doAction(QAccessibleActionInterface::increaseAction());
        QCOMPARE(field->text(), increased);
        actions->doAction(QAccessibleActionInterface::decreaseAction());
        QCOMPARE(field->text(), before);
        ud->setEnabled(false);
        actions->doAction(QAccessibleActionInterface::increaseAction());
        QCOMPARE(field->text(), before);
    }
}

NERUBATO_TEST_MAIN(TestEditor)
#include "tst_editor.moc"
