#include "SettingsFile.h"

#include "Errors.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QThread>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

namespace nerubato {

Lines splitLines(const QByteArray &bytes)
{
    Lines lines;
    const qsizetype nul = bytes.indexOf('\0');
    const qsizetype end = nul < 0 ? bytes.size() : nul;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < end) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines << bytes.mid(start, i - start);
            if (c == '\r' && i + 1 < end && bytes[i + 1] == '\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < end)
        lines << bytes.mid(start, end - start);
    return lines;
}

QByteArray joinLines(const Lines &lines)
{
    qsizetype size = 0;
    for (const auto &line : lines)
        size += line.size() + 2;
    QByteArray out;
    out.reserve(size);
    for (const auto &line : lines)
        out.append(line).append("\r\n");
    return out;
}

namespace {

#ifdef Q_OS_WIN
// Windows only lets a file be opened without sharing while nobody else holds
// it, so a report the runner has not closed yet is refused rather than read
// half-written. Elsewhere there is no such open, and a plain read serves.
bool readExclusive(const QString &fileName, QByteArray &bytes)
{
    const HANDLE file = CreateFileW(reinterpret_cast<LPCWSTR>(fileName.utf16()), GENERIC_READ, 0,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    char buffer[64 * 1024];
    DWORD got = 0;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return ok;
}
#endif

bool readShared(const QString &fileName, QByteArray &bytes)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

} // namespace

Lines loadLines(const QString &fileName, Sharing sharing)
{
    QByteArray bytes;
#ifdef Q_OS_WIN
    const bool read =
        sharing == Sharing::None ? readExclusive(fileName, bytes) : readShared(fileName, bytes);
#else
    Q_UNUSED(sharing);
    const bool read = readShared(fileName, bytes);
#endif
    if (!read)
        throw FileOpenError(fileName);
    return splitLines(bytes);
}

namespace {

// QSaveFile::commit() syncs the temporary file but does not look at the result,
// and a failed sync can mean the data never reaches the disk: it must not then
// replace the old file.
bool syncToDisk(QSaveFile &file)
{
#ifdef Q_OS_UNIX
    int result;
    do {
#ifdef Q_OS_LINUX
        result = ::fdatasync(file.handle());
#else
        result = ::fsync(file.handle());
#endif
    } while (result != 0 && errno == EINTR);
    return result == 0;
#elif defined(Q_OS_WIN)
    return ::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()))) != 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

bool tryWrite(const QString &fileName, const QByteArray &bytes)
{
    QSaveFile file(fileName);
    // Unbuffered, so that a failing write fails here. Buffered, the bytes would be
    // written by the flush inside commit(), which lets a write error through and
    // renames an empty file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size())
        return false; // the destructor discards the temporary file
    if (!syncToDisk(file))
        return false;
    return file.commit();
}

} // namespace

void saveBytes(const QString &fileName, const QByteArray &bytes)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!tryWrite(fileName, bytes)) {
        // Windows refuses to replace a file that another process (the runner,
        // a virus scanner) holds open; such a hold is mostly over in a moment.
        // Elsewhere a failure will not go away by waiting.
        if (kReplaceRetry <= 0 || elapsed.elapsed() >= kReplaceRetry)
            throw FileCreateError(fileName);
        QThread::msleep(50);
    }
}

void saveLines(const QString &fileName, const Lines &lines)
{
    saveBytes(fileName, joinLines(lines));
}

} // namespace nerubato
