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
#include "testprogram.h"
#include "ui/Handlers.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
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
        m_held = m_process.waitForStarted(10000) &&
                 QTest::qWaitFor([&] { return QFile::exists(ready); }, 10000);
        QFile::remove(ready);
    }
    ~Holder() { m_process.waitForFinished(10000); }
    bool held() const { return m_held; }

private:
    QProcess m_process;
    bool m_held = false;
};

// The real platform, but for the beep.
class QuietPlatform : public Platform
{
public:
    void messageBeep() override {}
};

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

// nerubato.exe as built (tests/CMakeLists.txt says where, from its output directory).
QString programPath()
{
    return QDir::toNativeSeparators(
        QFileInfo(test::helperPath(QStringLiteral(NERUBATO_PROGRAM))).absoluteFilePath());
}

// A string of nerubato.exe's version resource, as Explorer reads it; null when absent.
QString versionString(const QString &query)
{
    const QString path = programPath();
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
QByteArray programResource(LPCWSTR type, WORD name, int *ofType)
{
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> module(
        LoadLibraryExW(wide(programPath()), nullptr,
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

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    // A target held by another process: a holder that lets go in time sees
    // the save through; one that does not gets the old file kept whole.
    void heldTargetIsRetried_data()
    {
        QTest::addColumn<int>("holdFor");
        QTest::addColumn<bool>("saved");
        QTest::newRow("let go after half a second") << 500 << true;
        QTest::newRow("held for five seconds") << 5000 << false;
    }

    void heldTargetIsRetried()
    {
        QFETCH(int, holdFor);
        QFETCH(bool, saved);
        test::WorkDir dir;
        const Lines before = splitLines(test::defaultSettingsFile());
        saveLines(runner::kRegistrationFile, before);
        const Lines after = {"changed"};
        Holder holder(dir.file(runner::kRegistrationFile), holdFor);
        QVERIFY(holder.held());
        QElapsedTimer elapsed;
        elapsed.start();
        QString error;
        try {
            saveLines(runner::kRegistrationFile, after);
        } catch (const FileCreateError &e) {
            error = e.text();
        }
        if (saved) {
            QCOMPARE(error, QString());
            QCOMPARE(dir.read(runner::kRegistrationFile), joinLines(after));
        } else {
            QCOMPARE(error, QStringLiteral("ﾌｧｲﾙ kidodata.dat を作成できません"));
            QVERIFY2(elapsed.elapsed() >= 2000,
                     qPrintable(QString::number(elapsed.elapsed())));
            QCOMPARE(dir.read(runner::kRegistrationFile), test::defaultSettingsFile());
        }
        QCOMPARE(filesIn(dir.path()), QStringList{runner::kRegistrationFile});
    }

    // A report the runner still holds open is not read; the wait is over all
    // the same. Once closed, it is shown.
    void reportHeldOpenIsNotRead()
    {
        test::Program program;
        TForm3 &main = *program.forms().Form3;
        main.Timer1->stop();
        program.dir.write(runner::kReportFile, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
        main.ReportPoll.waiting = 1;
        {
            Holder holder(program.dir.file(runner::kReportFile), 3000);
            QVERIFY(holder.held());
            test::MessageAnswerer box("OK");
            // As the timer's connection runs it: its error reaches the general error box.
            guarded(program.platform, [&] { main.Timer1Timer(); });
            QCOMPARE(box.seen().caption, QStringLiteral("ネルバト"));
            QCOMPARE(box.seen().text, QStringLiteral("ﾌｧｲﾙ errormsg.txt は開けません."));
            QCOMPARE(main.ReportPoll.waiting, quint8(0));
        }
        main.ReportPoll.waiting = 1;
        test::MessageAnswerer report("OK");
        main.Timer1Timer();
        QCOMPARE(report.seen().caption, QStringLiteral("ｴﾗｰ"));
        QCOMPARE(report.seen().text, QStringLiteral("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7"));
    }

    // ShellExecuteW finds quorvex.exe in the current directory and starts it
    // there; the help file that is not there is no message.
    void shellStartsTheRunnerAndNothingForAMissingHelpFile()
    {
        test::WorkDir dir;
        QuietPlatform platform;
        WindowSet windows(platform);
        TForm3 &main = *windows.forms().Form3;
        main.Timer1->stop();
        {
            test::MessageAnswerer nothing("OK");
            main.help_BtnClick();
            QTest::qWait(500);
            QVERIFY(!nothing.seen().seen);
        }
        test::installFakeRunner(dir);
        main.ShellLaunch(runner::kRunnerFile, QString(), QString(), Platform::kSwHide);
        QTRY_VERIFY_WITH_TIMEOUT(dir.exists(runner::kReportFile), 10000);
        QCOMPARE(runner::readReport(runner::kReportFile).section(u'\r', 0, 0),
                 QStringLiteral("no marker"));
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
            const QString path = QDir::toNativeSeparators(shown + u'/' + QString::fromUtf8(name));
            return SetFileAttributesW(reinterpret_cast<LPCWSTR>(path.utf16()), value) != 0;
        };
        QVERIFY(attribute("hidden.exe", FILE_ATTRIBUTE_HIDDEN));
        QVERIFY(attribute("system.exe", FILE_ATTRIBUTE_SYSTEM));
        QVERIFY(attribute("readonly.exe", FILE_ATTRIBUTE_READONLY));

        QDir::setCurrent(shown);
        QuietPlatform platform;
        WindowSet windows(platform);
        TsForm &chooser = *windows.forms().sForm;
        windows.forms().Form1->browse(1);
        auto *list = chooser.findChild<QListView *>(QStringLiteral("FileLBox"));
        const QModelIndex root = list->rootIndex();
        QVERIFY(QTest::qWaitFor([&] { return list->model()->rowCount(root) == 2; }));
        QCOMPARE(list->model()->index(0, 0, root).data().toString(),
                 QStringLiteral("readonly.exe"));
        QCOMPARE(list->model()->index(1, 0, root).data().toString(), QStringLiteral("Setup.EXE"));

        const QString lower = QDir::toNativeSeparators(shown).toLower();
        QVERIFY(lower.contains(QStringLiteral("\\tools\\sub表")));
        QCOMPARE(chooser.SelectedDirectory, lower);
        auto *tree = chooser.findChild<QTreeView *>(QStringLiteral("Dirline"));
        QCOMPARE(tree->currentIndex().data().toString(), QStringLiteral("sub表"));
        list->setCurrentIndex(list->model()->index(1, 0, root));
        auto *pathBox = chooser.findChild<QLineEdit *>(QStringLiteral("Pass_Edit"));
        QCOMPARE(pathBox->text(), lower + QStringLiteral("\\Setup.EXE"));
        auto *drives = chooser.findChild<QComboBox *>(QStringLiteral("DriveCBox"));
        QVERIFY(drives->findText(QStringLiteral("c:\\")) >= 0);
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
        windows.forms().Form1->browse(1);
        auto *drives = windows.forms().sForm->findChild<QComboBox *>(QStringLiteral("DriveCBox"));
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
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("product name") << "ProductName" << "ネルバト";
        QTest::newRow("description") << "FileDescription" << "ネルバト";
        QTest::newRow("product version") << "ProductVersion" << NERUBATO_VERSION;
        QTest::newRow("file version") << "FileVersion" << NERUBATO_VERSION;
        QTest::newRow("file name") << "OriginalFilename" << "nerubato.exe";
    }

    void programCarriesItsVersion()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QCOMPARE(versionString(QStringLiteral("\\StringFileInfo\\041104b0\\") + key), value);
    }

    // The icon Explorer shows for the file: one, in every size drawn for it.
    void programCarriesItsIcon()
    {
        QCOMPARE(ExtractIconExW(wide(programPath()), -1, nullptr, nullptr, 0), UINT(1));
        // Six bytes with the count at 4, then 14 bytes a picture, its width first (0 for 256).
        int groups = 0;
        const QByteArray group = programResource(RT_GROUP_ICON, 1, &groups);
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
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("attribute"); // empty: the element's text
        QTest::addColumn<QString>("value");
        QTest::newRow("long paths") << "longPathAware" << "" << "true";
        QTest::newRow("DPI per monitor") << "dpiAwareness" << "" << "PerMonitorV2, PerMonitor";
        QTest::newRow("no elevation") << "requestedExecutionLevel" << "level" << "asInvoker";
    }

    void programManifest()
    {
        QFETCH(QString, element);
        QFETCH(QString, attribute);
        QFETCH(QString, value);
        int manifests = 0;
        QXmlStreamReader xml(programResource(RT_MANIFEST, 1, &manifests));
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
        TForm3 &main = *program.forms().Form3;
        main.Timer1->stop();
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
