// What only Windows does, tested for real under Wine: another process holding
// a file, the shell launching a program, drives, attributes, lower case, the look;
// and what nerubato.exe carries for Windows to read: icon, version, manifest.
#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "settings/Errors.h"
#include "settings/RunnerContract.h"
#include "settings/SettingsFile.h"
#include "shell/Application.h"
#include "shell/TForm3.h"
#include "shell/WindowSet.h"
#include "storage/TForm2.h"
#include "testprogram.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTreeView>
#include <QXmlStreamReader>

#include <windows.h>

#include <memory>
#include <type_traits>

using namespace nerubato;

namespace {

const QString kYes = QStringLiteral("はい(&Y)");
const QString kNo = QStringLiteral("いいえ(&N)");

// A second process that holds a file open for a while.
class Holder
{
public:
    Holder(const QString &file, int milliseconds)
    {
        const QString ready = file + QStringLiteral(".held");
        m_process.start(test::helperPath(QStringLiteral("holdfile")),
                        {QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()),
                         QString::number(milliseconds),
                         QDir::toNativeSeparators(QFileInfo(ready).absoluteFilePath())});
        // The helper may still hold its ready file open, without sharing,
        // for a moment after it appears: its removal is tried until it goes.
        m_held = m_process.waitForStarted(10000) &&
                 QTest::qWaitFor([&] { return QFile::exists(ready); }, 10000) &&
                 QTest::qWaitFor([&] { return QFile::remove(ready); }, 10000);
    }
    ~Holder() { m_process.waitForFinished(10000); }
    bool held() const { return m_held; }

private:
    QProcess m_process;
    bool m_held = false;
};


QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

bool setAttributes(const QString &file, DWORD attributes)
{
    return SetFileAttributesW(wide(QDir::toNativeSeparators(file)), attributes) != 0;
}


// nerubato.exe as built (tests/CMakeLists.txt says where, from its output
// directory), or the runner beside it: "nerubato" or "quorvex".
QString programPath(const QString &name = QStringLiteral("nerubato"))
{
    const QFileInfo tool(test::helperPath(QStringLiteral(NERUBATO_PROGRAM)));
    return QDir::toNativeSeparators(tool.dir().absoluteFilePath(name + QStringLiteral(".exe")));
}

// A string of a program's version resource, as Explorer reads it; null when absent.
QString versionString(const QString &program, const QString &query)
{
    const QString path = programPath(program);
    QByteArray data(int(GetFileVersionInfoSizeW(wide(path), nullptr)), 0);
    void *value = nullptr;
    UINT characters = 0; // the terminating zero included
    if (data.isEmpty() || !GetFileVersionInfoW(wide(path), 0, data.size(), data.data()) ||
        !VerQueryValueW(data.data(), wide(query), &value, &characters) || characters == 0)
        return {};
    return QString::fromWCharArray(static_cast<const wchar_t *>(value), int(characters) - 1);
}

// The resource (type, name) of nerubato.exe, loaded as data; with how many
// resources of that type it has.
QByteArray programResource(const QString &program, LPCWSTR type, WORD name, int *ofType)
{
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> module(
        LoadLibraryExW(wide(programPath(program)), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE),
        &FreeLibrary);
    *ofType = 0;
    if (!module)
        return {};
    EnumResourceNamesW(
        module.get(), type,
        [](HMODULE, LPCWSTR, LPWSTR, LONG_PTR count) -> BOOL {
            ++*reinterpret_cast<int *>(count);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(ofType));
    const HRSRC found = FindResourceW(module.get(), MAKEINTRESOURCEW(name), type);
    const HGLOBAL loaded = found ? LoadResource(module.get(), found) : nullptr;
    return loaded ? QByteArray(static_cast<const char *>(LockResource(loaded)),
                               int(SizeofResource(module.get(), found)))
                  : QByteArray();
}

// The shown top-level window of a process with this title.
HWND shownWindow(DWORD process, const QString &title)
{
    struct Sought
    {
        DWORD process;
        QString title;
        HWND found = nullptr;
    } sought{process, title};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto &s = *reinterpret_cast<Sought *>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t text[256] = {};
            GetWindowTextW(window, text, int(std::size(text)));
            if (owner == s.process && IsWindowVisible(window) &&
                QString::fromWCharArray(text) == s.title)
                s.found = window;
            return s.found == nullptr;
        },
        reinterpret_cast<LPARAM>(&sought));
    return sought.found;
}

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    // Only a replace that another process blocks is tried again: a holder
    // that lets go in time sees the save through, one that does not gets the
    // old file kept whole after the retry; a read-only target or a directory
    // in its place fails at once.
    void saveRetriesOnlyABlockedReplace_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<int>("atLeastMs");
        QTest::addColumn<int>("atMostMs");
        QTest::newRow("held, let go after half a second") << "hold 500" << true << 0 << 10000;
        QTest::newRow("held for five seconds") << "hold 5000" << false << 2000 << 10000;
        QTest::newRow("read-only") << "read-only" << false << 0 << 1000;
        QTest::newRow("a directory in its place") << "directory" << false << 0 << 1000;
    }

    void saveRetriesOnlyABlockedReplace()
    {
        QFETCH(QString, obstacle);
        QFETCH(bool, saved);
        QFETCH(int, atLeastMs);
        QFETCH(int, atMostMs);
        test::WorkDir dir;
        const QString target = QStringLiteral("kidodata.dat");
        const QByteArray before = test::defaultSettingsFile();
        std::unique_ptr<Holder> holder;
        if (obstacle == "directory") {
            QVERIFY(QDir(dir.path()).mkpath(target + QStringLiteral("/inside")));
        } else {
            dir.write(target, before);
            if (obstacle == "read-only")
                QVERIFY(setAttributes(dir.file(target), FILE_ATTRIBUTE_READONLY));
            else
                holder = std::make_unique<Holder>(dir.file(target), obstacle.mid(5).toInt());
            QVERIFY(!holder || holder->held());
        }
        QElapsedTimer elapsed;
        elapsed.start();
        QString error;
        try {
            saveLines(QDir(), target, {"changed"});
        } catch (const FileCreateError &e) {
            error = e.text();
        }
        const qint64 took = elapsed.elapsed();
        QVERIFY2(took >= atLeastMs && took <= atMostMs, qPrintable(QString::number(took)));
        if (saved) {
            QCOMPARE(error, QString());
            QCOMPARE(dir.read(target), QByteArray("changed\r\n"));
        } else {
            QCOMPARE(error, QStringLiteral("ﾌｧｲﾙ kidodata.dat を作成できません"));
            if (obstacle != "directory")
                QCOMPARE(dir.read(target), before);
        }
        QCOMPARE(filesIn(dir.path()), obstacle == "directory" ? QStringList() : QStringList{target});
        setAttributes(dir.file(target), FILE_ATTRIBUTE_NORMAL);
    }

    // A report another process holds for a moment (a virus scanner looking
    // at it just after the runner closed it) is waited for and shown; one the
    // runner still holds is not read, and the wait is over all the same.
    void reportHeldOpen_data()
    {
        QTest::addColumn<int>("holdFor");
        QTest::addColumn<bool>("shown");
        QTest::newRow("for half a second") << 500 << true;
        QTest::newRow("for three seconds") << 3000 << false;
    }

    void reportHeldOpen()
    {
        QFETCH(int, holdFor);
        QFETCH(bool, shown);
        test::Program program;
        TForm3 &main = program.main();
        {
            test::MessageAnswerer answers(kYes);
            test::press(main, "test_Btn");
        }
        test::MessageAnswerer box("OK");
        program.dir.write("errormsg.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
        Holder holder(program.dir.file("errormsg.txt"), holdFor);
        QVERIFY(holder.held());
        test::fire(main, "Timer1");
        QCOMPARE(box.all().size(), 1);
        if (shown) {
            QCOMPARE(box.seen().caption, QStringLiteral("ｴﾗｰ"));
            QCOMPARE(box.seen().text, QStringLiteral("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7"));
        } else {
            QCOMPARE(box.seen().caption, QStringLiteral("ネルバト"));
            QCOMPARE(box.seen().text, QStringLiteral("ﾌｧｲﾙ errormsg.txt は開けません."));
        }
    }

    // ShellExecuteW finds quorvex.exe in the current directory and starts it there.
    void shellStartsTheRunner()
    {
        test::WorkDir dir;
        SilentPlatform platform;
        test::installFakeRunner(dir);
        platform.shellLaunch(nullptr, runner::kRunnerFile, QString(), QString(), Platform::kSwHide);
        QTRY_VERIFY_WITH_TIMEOUT(dir.exists(runner::kReportFile), 10000);
        QCOMPARE(StartFolder(dir.path()).readReport().section(u'\r', 0, 0),
                 QStringLiteral("no marker"));
    }

    // At a real start, a program that cannot start is told in a window on
    // top of every other, which keeps the runner until it is closed.
    void runnerFailureComesOnTop()
    {
        test::WorkDir dir;
        dir.write(runner::kRegistrationFile,
                  joinLines(test::changedLines(QStringLiteral("14=0;15=3;16=C:\\missing\\x.exe"))));
        QProcess quorvex;
        quorvex.start(programPath(QStringLiteral("quorvex")));
        QVERIFY(quorvex.waitForStarted(10000));
        HWND window = nullptr;
        QVERIFY(QTest::qWaitFor(
            [&] {
                return (window = shownWindow(DWORD(quorvex.processId()),
                                             QStringLiteral("quorvex.exe　お知らせ")));
            },
            30000));
        QVERIFY(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        QVERIFY(!quorvex.waitForFinished(500));
        PostMessageW(window, WM_CLOSE, 0, 0);
        QVERIFY(quorvex.waitForFinished(10000));
        QVERIFY(dir.read(runner::kHistoryFile).contains("C:\\missing\\x.exe"));
    }

    // A start directory past 260 characters: saving, the view, the test
    // run's report and the chooser's list all work there.
    void longStartDirectory()
    {
        test::WorkDir dir;
        QString start = dir.path();
        while (start.size() < 300)
            start += QStringLiteral("/長いフォルダー名の一部_0123456789");
        QVERIFY(QDir().mkpath(start));
        QVERIFY(QDir::setCurrent(start));
        QCOMPARE(QDir::currentPath(), start);
        QFile(start + QStringLiteral("/setup.exe")).open(QIODevice::WriteOnly);
        test::FakePlatform platform;
        platform.fakeDrives = {QStringLiteral("c:\\")};
        WindowSet windows(platform);
        TForm3 &main = windows.mainWindow();
        {
            test::MessageAnswerer answers(kNo);
            test::press(test::Program::window<TForm1>("Form1"), "hozon_Btn");
            test::press(test::Program::window<TForm2>("Form2"), "Button1");
        }
        QFile slot(start + QStringLiteral("/hozondt1.dat"));
        QVERIFY(slot.open(QIODevice::ReadOnly));
        QCOMPARE(slot.readAll(), test::defaultSettingsFile());

        {
            test::MessageAnswerer answers(kYes);
            test::press(main, "test_Btn");
        }
        {
            test::MessageAnswerer shown("OK");
            QFile report(start + QStringLiteral("/errormsg.txt"));
            QVERIFY(report.open(QIODevice::WriteOnly));
            report.write("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
            report.close();
            test::fire(main, "Timer1");
            QCOMPARE(shown.seen().text, QStringLiteral("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7"));
        }

        test::press(test::Program::window<TForm1>("Form1"), "sansyo_Btn1");
        auto *list = test::Program::window<TsForm>("sForm").findChild<QListView *>(
            QStringLiteral("FileLBox"));
        QStringList names;
        QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 3);
        for (int row = 0; row < 3; ++row)
            names << list->model()->index(row, 0, list->rootIndex()).data().toString();
        QCOMPARE(names, (QStringList{"errormsg.txt", "hozondt1.dat", "setup.exe"}));
        QDir::setCurrent(dir.path());
    }

    // A start directory typed in another case than the disk's: one row for
    // each directory, the current one read and expandable.
    void startDirectoryInAnotherCase()
    {
        test::WorkDir dir;
        for (const char *path : {"Tools/Sub/Deeper", "Tools/Other", "Zeta"})
            QVERIFY(QDir(dir.path()).mkpath(QString::fromLatin1(path)));
        QVERIFY(QDir::setCurrent(dir.path() + QStringLiteral("/tools/sub")));
        SilentPlatform platform;
        WindowSet windows(platform);
        test::press(test::Program::window<TForm1>("Form1"), "sansyo_Btn1");
        auto *tree = test::Program::window<TsForm>("sForm").findChild<QTreeView *>(QStringLiteral("Dirline"));
        const QPersistentModelIndex current = tree->currentIndex();
        QVERIFY(current.isValid());
        QCOMPARE(current.data().toString(), QStringLiteral("sub"));
        const QPersistentModelIndex work = current.parent().parent();
        const auto rows = [&](const QModelIndex &parent) {
            QStringList names;
            for (int row = 0; row < tree->model()->rowCount(parent); ++row)
                names << tree->model()->index(row, 0, parent).data().toString();
            return names;
        };
        // Their neighbours arrive with the listings, which the rows must then match.
        QTRY_COMPARE(rows(work), (QStringList{"tools", "zeta"}));
        QTRY_COMPARE(rows(current.parent()), (QStringList{"other", "sub"}));
        tree->expand(current);
        QTRY_COMPARE(rows(current), QStringList{"deeper"});
        QDir::setCurrent(dir.path());
    }

    // A folder browsed once is the user's again when the chooser closes:
    // another process renames it and deletes it.
    void closedChooserLeavesFoldersFree()
    {
        test::WorkDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Browsed/Inner")));
        dir.write(QStringLiteral("Browsed/Inner/app.exe"), "x");
        QVERIFY(QDir::setCurrent(dir.file(QStringLiteral("Browsed/Inner"))));
        test::FakePlatform platform;
        WindowSet windows(platform);
        TsForm &chooser = test::Program::window<TsForm>("sForm");
        test::press(test::Program::window<TForm1>("Form1"), "sansyo_Btn1");
        auto *list = chooser.findChild<QListView *>(QStringLiteral("FileLBox"));
        QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 1);
        QVERIFY(!platform.watchedDirectories().isEmpty());
        test::press(chooser, "Button1");
        QCOMPARE(platform.watchedDirectories(), QStringList());
        QDir::setCurrent(dir.path());

        QProcess shell;
        shell.start(QStringLiteral("cmd.exe"),
                    {QStringLiteral("/c"), QStringLiteral("move Browsed Renamed && rmdir /s /q Renamed")});
        QVERIFY(shell.waitForFinished(20000));
        QCOMPARE(shell.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("Browsed"))));
        QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("Renamed"))));
    }

    void drivesAreNamedAsTheDriveBoxShowsThem()
    {
        Platform platform;
        const QStringList drives = platform.drives();
        QVERIFY(drives.contains(QStringLiteral("c:\\")));
        for (const QString &drive : drives)
            QVERIFY2(QRegularExpression(QStringLiteral("^[a-z]:\\\\$")).match(drive).hasMatch(),
                     qPrintable(drive));
    }

    // The chooser on the real drives: directories in lower case (A-Z only),
    // the file name as stored; hidden and system files left out by attribute.
    void chooserShowsWindowsNames()
    {
        test::WorkDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Tools/Sub表")));
        const QString shown = dir.path() + QStringLiteral("/Tools/Sub表");
        for (const char *name : {"Setup.EXE", "hidden.exe", "system.exe", "readonly.exe"})
            dir.write(QStringLiteral("Tools/Sub表/") + QString::fromUtf8(name), "x");
        auto attribute = [&](const char *name, DWORD value) {
            return setAttributes(shown + u'/' + QString::fromUtf8(name), value);
        };
        QVERIFY(attribute("hidden.exe", FILE_ATTRIBUTE_HIDDEN));
        QVERIFY(attribute("system.exe", FILE_ATTRIBUTE_SYSTEM));
        QVERIFY(attribute("readonly.exe", FILE_ATTRIBUTE_READONLY));

        QDir::setCurrent(shown);
        SilentPlatform platform;
        WindowSet windows(platform);
        TsForm &chooser = test::Program::window<TsForm>("sForm");
        test::press(test::Program::window<TForm1>("Form1"), "sansyo_Btn1");
        auto *list = chooser.findChild<QListView *>(QStringLiteral("FileLBox"));
        const QModelIndex root = list->rootIndex();
        QVERIFY(QTest::qWaitFor([&] { return list->model()->rowCount(root) == 2; }));
        QCOMPARE(list->model()->index(0, 0, root).data().toString(),
                 QStringLiteral("readonly.exe"));
        QCOMPARE(list->model()->index(1, 0, root).data().toString(), QStringLiteral("Setup.EXE"));

        const QString lower = QDir::toNativeSeparators(shown).toLower();
        QVERIFY(lower.contains(QStringLiteral("\\tools\\sub表")));
        auto *pathBox = chooser.findChild<QLineEdit *>(QStringLiteral("Pass_Edit"));
        QCOMPARE(pathBox->text(), lower);
        auto *tree = chooser.findChild<QTreeView *>(QStringLiteral("Dirline"));
        QCOMPARE(tree->currentIndex().data().toString(), QStringLiteral("sub表"));
        list->setCurrentIndex(list->model()->index(1, 0, root));
        QCOMPARE(pathBox->text(), lower + QStringLiteral("\\Setup.EXE"));
        auto *drives = chooser.findChild<QComboBox *>(QStringLiteral("DriveCBox"));
        QVERIFY(drives->findText(QStringLiteral("c:\\")) >= 0);
    }

    // The start directory's own drive, where the drives listed lack it (a
    // share, \\server\share), is shown as the drives are: in lower case.
    void startDirectoryDriveIsShownAsTheDrivesAre()
    {
        test::WorkDir dir;
        QVERIFY(dir.path().startsWith(QLatin1String("C:/"), Qt::CaseInsensitive));
        test::FakePlatform platform; // lists no drive at all
        WindowSet windows(platform);
        test::press(test::Program::window<TForm1>("Form1"), "sansyo_Btn1");
        auto *drives = test::Program::window<TsForm>("sForm").findChild<QComboBox *>(QStringLiteral("DriveCBox"));
        QCOMPARE(drives->count(), 1);
        QCOMPARE(drives->currentText(), QStringLiteral("c:\\"));
    }

    // A drive letter that names nothing (a drive without a medium): the
    // message, and the drive box back on the drive it showed.
    void driveWithoutMediumIsRefused()
    {
        test::WorkDir dir;
        test::FakePlatform platform;
        platform.fakeDrives = {QStringLiteral("c:\\"), QStringLiteral("q:\\")};
        QVERIFY(!QFileInfo::exists(QStringLiteral("q:/")));
        WindowSet windows(platform);
        test::press(test::Program::window<TForm1>("Form1"), "sansyo_Btn1");
        auto *drives = test::Program::window<TsForm>("sForm").findChild<QComboBox *>(QStringLiteral("DriveCBox"));
        QCOMPARE(drives->currentText(), QStringLiteral("c:\\"));
        test::MessageAnswerer box("OK");
        drives->setCurrentIndex(drives->findText(QStringLiteral("q:\\")));
        emit drives->activated(drives->currentIndex());
        QCOMPARE(box.seen().text, QStringLiteral("無効なドライブが指定されました"));
        QCOMPARE(drives->currentText(), QStringLiteral("c:\\"));
    }

    // What Explorer shows in the file's properties: the version resource, in
    // Japanese (UTF-16), with the product's name and the project's version.
    void programCarriesItsVersion_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("product name") << "nerubato" << "ProductName" << "ネルバト";
        QTest::newRow("description") << "nerubato" << "FileDescription" << "ネルバト";
        QTest::newRow("product version") << "nerubato" << "ProductVersion" << NERUBATO_VERSION;
        QTest::newRow("file version") << "nerubato" << "FileVersion" << NERUBATO_VERSION;
        QTest::newRow("file name") << "nerubato" << "OriginalFilename" << "nerubato.exe";
        QTest::newRow("runner's product") << "quorvex" << "ProductName" << "ネルバト";
        QTest::newRow("runner's description") << "quorvex" << "FileDescription" << "ネルバト 実行プログラム";
        QTest::newRow("runner's file name") << "quorvex" << "OriginalFilename" << "quorvex.exe";
    }

    void programCarriesItsVersion()
    {
        QFETCH(QString, program);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QCOMPARE(versionString(program, QStringLiteral("\\StringFileInfo\\041104b0\\") + key), value);
    }

    // The icon Explorer shows for the file: one, in every size drawn for it.
    void programCarriesItsIcon_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("nerubato.exe") << "nerubato";
        QTest::newRow("quorvex.exe") << "quorvex";
    }
    void programCarriesItsIcon()
    {
        QFETCH(QString, program);
        QCOMPARE(ExtractIconExW(wide(programPath(program)), -1, nullptr, nullptr, 0), UINT(1));
        // Six bytes with the count at 4, then 14 bytes a picture, its width first (0 for 256).
        int groups = 0;
        const QByteArray group = programResource(program, RT_GROUP_ICON, 1, &groups);
        QCOMPARE(groups, 1);
        QVERIFY(group.size() >= 6);
        const int count = quint8(group[4]) | quint8(group[5]) << 8;
        QCOMPARE(group.size(), 6 + 14 * count);
        QList<int> widths;
        for (int i = 0; i < count; ++i)
            widths << (quint8(group[6 + 14 * i]) ? quint8(group[6 + 14 * i]) : 256);
        QCOMPARE(widths, QList<int>({16, 24, 32, 48, 64, 256}));
    }

    // The manifest, one only (none added by the toolchain beside it), with
    // what the program asks of Windows.
    void programManifest_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("attribute"); // empty: the element's text
        QTest::addColumn<QString>("value");
        QTest::newRow("long paths") << "nerubato" << "longPathAware" << "" << "true";
        QTest::newRow("DPI per monitor") << "nerubato" << "dpiAwareness" << "" << "PerMonitorV2, PerMonitor";
        QTest::newRow("no elevation") << "nerubato" << "requestedExecutionLevel" << "level" << "asInvoker";
        // What it starts runs with the user's rights, never more.
        QTest::newRow("runner, no elevation") << "quorvex" << "requestedExecutionLevel" << "level"
                                              << "asInvoker";
        QTest::newRow("runner, long paths") << "quorvex" << "longPathAware" << "" << "true";
    }

    void programManifest()
    {
        QFETCH(QString, program);
        QFETCH(QString, element);
        QFETCH(QString, attribute);
        QFETCH(QString, value);
        int manifests = 0;
        QXmlStreamReader xml(programResource(program, RT_MANIFEST, 1, &manifests));
        QCOMPARE(manifests, 1);
        QStringList found;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == element)
                found << (attribute.isEmpty() ? xml.readElementText()
                                              : xml.attributes().value(attribute).toString());
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(found, QStringList{value});
    }

    // The title bar's icon and the task switcher's, as the windows platform
    // handed them to the main window.
    void mainWindowHasTheIcon()
    {
        test::Program program;
        TForm3 &main = program.main();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const auto window = reinterpret_cast<HWND>(main.winId());
        QVERIFY(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
        QVERIFY(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    }

    // The native style, the design font asked for by its own name, and the
    // Conventions' button order in it.
    void theLookIsNative()
    {
        test::Program program;
        QCOMPARE(QApplication::style()->name(), QStringLiteral("windowsvista"));
        QCOMPARE(QApplication::font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(QApplication::font().pixelSize(), 12);
        {
            test::MessageAnswerer box(QStringLiteral("ｷｬﾝｾﾙ"));
            showMessage(program.platform, MessageType::Confirmation, {QStringLiteral("x")},
                        Yes | No | Cancel);
            QCOMPARE(box.seen().buttons, QStringList({kYes, kNo, QStringLiteral("ｷｬﾝｾﾙ")}));
        }
        test::MessageAnswerer box(QStringLiteral("OK"));
        showMessage(program.platform, MessageType::Warning, {QStringLiteral("x")}, Ok | Cancel);
        QCOMPARE(box.seen().buttons, QStringList({QStringLiteral("OK"), QStringLiteral("ｷｬﾝｾﾙ")}));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    test::DialogGuard dialogGuard;
    TestWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windows.moc"
