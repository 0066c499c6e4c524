#include "FolderLocks.h"

#include <QCryptographicHash>
#include <QDir>

#include <windows.h>

namespace nerubato {

namespace {

// The folder's full path as the system has it, whatever name it was reached
// by (a drive letter made with subst, a link, a short 8.3 name), in one case:
// Windows' names ignore case.
QString folderKey(const QString &folder)
{
    const QString native = QDir::toNativeSeparators(QDir(folder).absolutePath());
    QString key = native;
    const HANDLE dir = CreateFileW(reinterpret_cast<LPCWSTR>(native.utf16()), 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir != INVALID_HANDLE_VALUE) {
        wchar_t path[32768];
        const DWORD length = GetFinalPathNameByHandleW(dir, path, DWORD(std::size(path)),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length > 0 && length < std::size(path))
            key = QString::fromWCharArray(path, int(length));
        CloseHandle(dir);
    }
    return key.toLower();
}

// A mutex no other name can clash with, in the namespace every session
// shares: a runner in another user's session is kept out too. Another user's
// mutex that this user may not open is refused as held, which it is.
qintptr takeMutex(const QString &purpose, const QString &folder, DWORD waitMs, bool &refused)
{
    const QString name =
        QStringLiteral("Global\\quorvex-%1-%2")
            .arg(purpose, QString::fromLatin1(QCryptographicHash::hash(folderKey(folder).toUtf8(),
                                                                       QCryptographicHash::Sha1)
                                                  .toHex()));
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    if (!mutex) {
        refused = GetLastError() == ERROR_ACCESS_DENIED;
        return -1;
    }
    // Abandoned: its runner ended without letting go, and the hold is ours.
    const DWORD waited = WaitForSingleObject(mutex, waitMs);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
        return reinterpret_cast<qintptr>(mutex);
    refused = waited == WAIT_TIMEOUT;
    CloseHandle(mutex);
    return -1;
}

void letGo(qintptr handle)
{
    ReleaseMutex(reinterpret_cast<HANDLE>(handle));
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}

} // namespace

RunLock::RunLock(const QString &folder)
{
    m_handle = takeMutex(QStringLiteral("run"), folder, 0, m_refused);
}

RunLock::~RunLock()
{
    if (held())
        letGo(m_handle);
}

RecordsLock::RecordsLock(const QString &folder, const QString &, int waitMs)
{
    bool refused = false;
    m_handle = takeMutex(QStringLiteral("records"), folder, DWORD(waitMs), refused);
}

RecordsLock::~RecordsLock()
{
    if (held())
        letGo(m_handle);
}

} // namespace nerubato
