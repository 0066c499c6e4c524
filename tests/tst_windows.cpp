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
#include <QVersionNumber>
#include <QXmlStreamReader>

#include <windows.h>

#include <memory>
#include <utility>

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

// nerubato.exe's version resource, as Explorer reads it.
class VersionInfo
{
public:
    VersionInfo()
    {
        const QString path = programPath();
        DWORD ignored = 0;
        m_data.resize(GetFileVersionInfoSizeW(wide(path), &ignored));
        if (m_data.isEmpty() || !GetFileVersionInfoW(wide(path), 0, m_data.size(), m_data.data()))
            m_data.clear();
    }
    bool isNull() const { return m_data.isEmpty(); }
    // The block at this query ("\\", "\\VarFileInfo\\Translation"), null when absent.
    QByteArray block(const QString &query) const
    {
        UINT bytes = 0;
        const void *value = find(query, &bytes);
        return value ? QByteArray(static_cast<const char *>(value), int(bytes)) : QByteArray();
    }
    // The string at this query, its terminating zero left out; null when absent.
    QString text(const QString &query) const
    {
        UINT characters = 0;
        const void *value = find(query, &characters);
        if (!value)
            return {};
        QString found =
            QString::fromWCharArray(static_cast<const wchar_t *>(value), int(characters));
        if (found.endsWith(QChar(0)))
            found.chop(1);
        return found;
    }

private:
    const void *find(const QString &query, UINT *length) const
    {
        void *value = nullptr;
        if (isNull() || !VerQueryValueW(m_data.data(), wide(query), &value, length))
            return nullptr;
        return value;
    }

    mutable QByteArray m_data;
};

// nerubato.exe loaded for its resources only.
class ProgramResources
{
public:
    ProgramResources()
        : m_module(LoadLibraryExW(wide(programPath()), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
    {
    }
    ~ProgramResources()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    ProgramResources(const ProgramResources &) = delete;
    ProgramResources &operator=(const ProgramResources &) = delete;

    bool loaded() const { return m_module != nullptr; }
    // The numeric names of every resource of this type.
    QList<quintptr> names(LPCWSTR type) const
    {
        QList<quintptr> found;
        EnumResourceNamesW(
            m_module, type,
            [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) -> BOOL {
                reinterpret_cast<QList<quintptr> *>(list)->append(reinterpret_cast<quintptr>(name));
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&found));
        return found;
    }
    QByteArray bytes(LPCWSTR type, WORD name) const
    {
        HRSRC found = FindResourceW(m_module, MAKEINTRESOURCEW(name), type);
        HGLOBAL loaded = found ? LoadResource(m_module, found) : nullptr;
        if (!loaded)
            return {};
        return QByteArray(static_cast<const char *>(LockResource(loaded)),
                          int(SizeofResource(m_module, found)));
    }

private:
    HMODULE m_module;
};

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
    // Japanese, with the product's name and the project's version.
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
        const VersionInfo info;
        QVERIFY2(!info.isNull(), qPrintable(programPath()));
        // The strings are read in the language the file names: Japanese, UTF-16.
        QCOMPARE(info.block(QStringLiteral("\\VarFileInfo\\Translation")),
                 QByteArray("\x11\x04\xb0\x04", 4));
        QCOMPARE(info.text(QStringLiteral("\\StringFileInfo\\041104b0\\") + key), value);
    }

    // The numbers Windows compares versions by, from the same project version.
    void programVersionNumbersMatch()
    {
        const QByteArray bytes = VersionInfo().block(QStringLiteral("\\"));
        QCOMPARE(bytes.size(), int(sizeof(VS_FIXEDFILEINFO)));
        const auto *fixed = reinterpret_cast<const VS_FIXEDFILEINFO *>(bytes.constData());
        QCOMPARE(fixed->dwSignature, DWORD(0xfeef04bd));
        const QVersionNumber version = QVersionNumber::fromString(QStringLiteral(NERUBATO_VERSION));
        const QVersionNumber file({HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                                   HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)});
        const QVersionNumber product(
            {HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
             HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS)});
        QCOMPARE(file.normalized(), version.normalized());
        QCOMPARE(product.normalized(), version.normalized());
        QCOMPARE(fixed->dwFileType, DWORD(VFT_APP));
    }

    // The icon Explorer shows for the file, one, in every size drawn for it.
    void programCarriesItsIcon()
    {
        QCOMPARE(ExtractIconExW(wide(programPath()), -1, nullptr, nullptr, 0), UINT(1));
        ProgramResources resources;
        QVERIFY(resources.loaded());
        // The icon group: a six-byte head with the count, then 14 bytes per
        // picture, its width first (0 for 256).
        const QByteArray group = resources.bytes(RT_GROUP_ICON, 1);
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
        QTest::newRow("DPI before Windows 10") << "dpiAware" << "" << "true/pm";
        QTest::newRow("no elevation") << "requestedExecutionLevel" << "level" << "asInvoker";
    }

    void programManifest()
    {
        QFETCH(QString, element);
        QFETCH(QString, attribute);
        QFETCH(QString, value);
        ProgramResources resources;
        QVERIFY(resources.loaded());
        QCOMPARE(resources.names(RT_MANIFEST), QList<quintptr>{1});
        QXmlStreamReader xml(resources.bytes(RT_MANIFEST, 1));
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
        const auto hwnd = reinterpret_cast<HWND>(main.winId());
        for (const auto &[which, metric] :
             {std::pair{ICON_SMALL, SM_CXSMICON}, std::pair{ICON_BIG, SM_CXICON}}) {
            const auto icon = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, which, 0));
            QVERIFY2(icon, which == ICON_SMALL ? "no small icon" : "no big icon");
            ICONINFO info{};
            QVERIFY(GetIconInfo(icon, &info));
            BITMAP bitmap{};
            GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            QCOMPARE(int(bitmap.bmWidth), GetSystemMetrics(metric));
        }
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
