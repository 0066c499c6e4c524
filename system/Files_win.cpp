#include "Files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QThread>

#include <io.h>
#include <windows.h>

namespace nerubato {

const int kReplaceRetry = 2000;

QString longPathForm(const QString &path)
{
    const QString absolute = QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
    if (absolute.startsWith(u"\\\\?\\"))
        return absolute;
    if (absolute.startsWith(u"\\\\"))
        return QStringLiteral("\\\\?\\UNC\\") + absolute.mid(2);
    return QStringLiteral("\\\\?\\") + absolute;
}

// Windows only lets a file be opened without sharing while nobody else holds
// it, so a report the runner has not closed yet is refused rather than read
// half-written.
bool readUnshared(const QString &fileName, int shareRetryMs,
                  const std::function<bool(const char *data, qsizetype size)> &take)
{
    constexpr qsizetype kPiece = 64 * 1024;
    const QString path = longPathForm(fileName);
    QElapsedTimer elapsed;
    elapsed.start();
    HANDLE file;
    for (;;) {
        file = CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ, 0, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            break;
        if (GetLastError() != ERROR_SHARING_VIOLATION || elapsed.elapsed() >= shareRetryMs)
            return false;
        QThread::msleep(50);
    }
    QByteArray piece(kPiece, Qt::Uninitialized);
    bool ok = true;
    DWORD got = 0;
    while ((ok = ReadFile(file, piece.data(), DWORD(kPiece), &got, nullptr) != 0) && got > 0 &&
           take(piece.constData(), qsizetype(got))) {
    }
    CloseHandle(file);
    return ok;
}

bool syncToDisk(QSaveFile &file)
{
    return ::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()))) != 0;
}

bool replaceWasBlocked(const QString &fileName)
{
    const QString path = longPathForm(fileName);
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(path.utf16()));
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

} // namespace nerubato
