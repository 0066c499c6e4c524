#include "Platform.h"

#include "system/Files.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include <windows.h>
// shellapi.h and objbase.h need windows.h first.
#include <objbase.h>
#include <shellapi.h>

namespace nerubato {

void Platform::messageBeep()
{
    MessageBeep(0);
}

void Platform::shellLaunch(QWidget *owner, const QString &file, const QString &parameters,
                           const QString &directory, int showCommand)
{
    HWND hwnd = owner ? reinterpret_cast<HWND>(owner->winId()) : nullptr;
    // A file named without a path is the current directory's: Windows would
    // look beside the program first, and start the runner there, not the
    // one beside the files it reads.
    QString target = file;
    if (directory.isEmpty() && QFileInfo(file).isRelative() && QFileInfo::exists(file))
        target = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    ShellExecuteW(hwnd, nullptr, reinterpret_cast<LPCWSTR>(target.utf16()),
                  reinterpret_cast<LPCWSTR>(parameters.utf16()),
                  directory.isEmpty() ? nullptr : reinterpret_cast<LPCWSTR>(directory.utf16()),
                  showCommand);
}

QStringList Platform::drives()
{
    // As the drive box shows them: "c:\".
    QStringList roots;
    for (const QFileInfo &drive : QDir::drives())
        roots << QDir::toNativeSeparators(drive.absoluteFilePath()).toLower();
    return roots;
}

Platform::Listing Platform::listDirectory(const QString &path, Entries entries,
                                          const std::function<bool()> &dropped,
                                          QStringList &names)
{
    constexpr int kCheckEvery = 1024;
    // Hidden and system files are told by their attributes, which Qt's
    // iterator looks at for hidden files only; one pass reads both. The long
    // form reaches directories past 260 characters.
    QString pattern = longPathForm(path);
    if (!pattern.endsWith(u'\\'))
        pattern += u'\\';
    pattern += u'*';
    WIN32_FIND_DATAW entry;
    const HANDLE find =
        FindFirstFileExW(reinterpret_cast<LPCWSTR>(pattern.utf16()), FindExInfoBasic, &entry,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND: // a drive's root with nothing in it
            return Listing::Read;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
            return Listing::Gone;
        default:
            return Listing::Unreadable;
        }
    }
    const bool wantDirs = entries == Entries::Directories;
    do {
        const DWORD attributes = entry.dwFileAttributes;
        if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
            continue;
        if (bool(attributes & FILE_ATTRIBUTE_DIRECTORY) != wantDirs)
            continue;
        const QString name = QString::fromWCharArray(entry.cFileName);
        if (name == u"." || name == u"..")
            continue;
        names << name;
        if (names.size() % kCheckEvery == 0 && dropped())
            break;
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return Listing::Read;
}

namespace {

class WindowsProgram : public Platform::Program
{
public:
    explicit WindowsProgram(HANDLE process) : m_process(process) {}
    ~WindowsProgram() override { CloseHandle(m_process); }
    bool hasEnded() override { return WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0; }
    std::optional<int> exitCode() const override
    {
        DWORD code = 0;
        return GetExitCodeProcess(m_process, &code) ? std::optional(int(code)) : std::nullopt;
    }

private:
    HANDLE m_process;
};

// Not named by every SDK's headers.
constexpr DWORD kElevationRequired = 740;

QString startError(DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return QStringLiteral("ファイルが見つかりません");
    case ERROR_PATH_NOT_FOUND:
        return QStringLiteral("フォルダーが見つかりません");
    case ERROR_ACCESS_DENIED:
        return QStringLiteral("アクセスが拒否されました");
    case ERROR_BAD_EXE_FORMAT:
        return QStringLiteral("実行できる形式ではありません");
    case ERROR_NO_ASSOCIATION:
        return QStringLiteral("このファイルを開くプログラムがありません");
    // Started through the shell, a program whose manifest asks for the
    // administrator gets Windows' own consent prompt (SEE_MASK_FLAG_NO_UI
    // keeps error boxes away, not that): declined, or closed for want of an
    // administrator's password, it is cancelled; where Windows cannot ask
    // (no consent prompt, a user who is no administrator) elevation is refused.
    case kElevationRequired:
        return QStringLiteral("管理者の権限が必要です");
    case ERROR_CANCELLED:
        return QStringLiteral("管理者の権限の確認で許可されませんでした");
    default:
        return QStringLiteral("エラー %1").arg(code);
    }
}

} // namespace

Platform::Started Platform::startProgram(const QString &given, const QString &arguments)
{
    const QString &path = given;
    const bool bare = !path.contains(u'/') && !path.contains(u'\\') && !path.contains(u':');
    const QString directory = bare ? QString() : QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    // Shell extensions that open a document may want COM on this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpFile = reinterpret_cast<LPCWSTR>(path.utf16());
    info.lpParameters = arguments.isEmpty() ? nullptr : reinterpret_cast<LPCWSTR>(arguments.utf16());
    info.lpDirectory = directory.isEmpty() ? nullptr : reinterpret_cast<LPCWSTR>(directory.utf16());
    info.nShow = SW_SHOWNORMAL;
    const bool ok = ShellExecuteExW(&info);
    const DWORD error = GetLastError();
    if (SUCCEEDED(com))
        CoUninitialize();
    if (!ok)
        return {nullptr, startError(error)};
    if (!info.hProcess)
        return {handedOver(), {}};
    return {std::make_unique<WindowsProgram>(info.hProcess), {}};
}

void Platform::showNormally(QWidget *window, bool activate)
{
    window->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    window->showNormal();
    ShowWindow(reinterpret_cast<HWND>(window->winId()), activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
}

bool Platform::canEndSession() const
{
    return true;
}

Platform::SessionEnd Platform::endSession(bool restart)
{
    // Ending the session needs the shutdown privilege, which a user has but
    // which is off until a program turns it on for itself.
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        CloseHandle(token);
    }
    const UINT how = (restart ? EWX_REBOOT : EWX_POWEROFF) | EWX_FORCEIFHUNG;
    return ExitWindowsEx(how, SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_FLAG_PLANNED)
               ? SessionEnd::Ended
               : SessionEnd::Failed;
}

} // namespace nerubato
