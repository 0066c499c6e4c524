#include "SettingsFile.h"

#include "Errors.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <algorithm>

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

QString longPathForm(const QString &path)
{
    const QString absolute = QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
#ifdef Q_OS_WIN
    if (absolute.startsWith(u"\\\\?\\"))
        return absolute;
    if (absolute.startsWith(u"\\\\"))
        return QStringLiteral("\\\\?\\UNC\\") + absolute.mid(2);
    return QStringLiteral("\\\\?\\") + absolute;
#else
    return absolute;
#endif
}

namespace {

// True once bytes hold `count` whole lines, or a NUL that ends the text.
bool holdsLines(const QByteArray &bytes, qsizetype from, int count, int &ended)
{
    for (qsizetype i = from; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\0')
            return true;
        // A CR LF split between two reads counts once: the LF ends nothing.
        if (c == '\n' && i > 0 && bytes[i - 1] == '\r')
            continue;
        if ((c == '\r' || c == '\n') && ++ended >= count)
            return true;
    }
    return false;
}

// Feeds the file to take() a piece at a time until take() has had enough.
template <typename Take> bool readPieces(const QString &fileName, Take take)
{
    constexpr qsizetype kPiece = 64 * 1024;
#ifdef Q_OS_WIN
    // Windows only lets a file be opened without sharing while nobody else
    // holds it, so a report the runner has not closed yet is refused rather
    // than read half-written.
    const QString path = longPathForm(fileName);
    QElapsedTimer elapsed;
    elapsed.start();
    HANDLE file;
    for (;;) {
        file = CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ, 0, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            break;
        if (GetLastError() != ERROR_SHARING_VIOLATION || elapsed.elapsed() >= kShareRetry)
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
#else
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    QByteArray piece(kPiece, Qt::Uninitialized);
    qint64 got = 0;
    while ((got = file.read(piece.data(), kPiece)) > 0 && take(piece.constData(), got)) {
    }
    return got >= 0;
#endif
}

} // namespace

bool fileExists(const QDir &folder, const QString &name)
{
    return QFileInfo(folder, name).isFile();
}

Lines loadLines(const QDir &folder, const QString &name)
{
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        throw FileOpenError(name);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileOpenError(name);
    return splitLines(bytes);
}

Lines loadFirstLines(const QDir &folder, const QString &name, int count)
{
    const QString fileName = folder.filePath(name);
    QByteArray head;
    int ended = 0;
    const bool read = readPieces(fileName, [&](const char *data, qsizetype size) {
        const qsizetype from = head.size();
        head.append(data, std::min(size, kMaxHeadBytes - head.size()));
        return !holdsLines(head, from, count, ended) && head.size() < kMaxHeadBytes;
    });
    if (!read)
        throw FileOpenError(name);
    Lines lines = splitLines(head);
    if (lines.size() > count)
        lines.resize(count);
    return lines;
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

enum class Written { Yes, Blocked, No };

#ifdef Q_OS_WIN
// The replace failed; only another process holding the target open goes
// away by waiting. Windows says "access denied" for that, and for a target
// that is read-only or a directory too, which waiting does not mend.
bool replaceWasBlocked(const QString &fileName)
{
    const QString path = longPathForm(fileName);
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(path.utf16()));
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}
#endif

Written tryWrite(const QString &fileName, const QByteArray &bytes)
{
    QSaveFile file(fileName);
    // Unbuffered, so that a failing write fails here. Buffered, the bytes would be
    // written by the flush inside commit(), which lets a write error through and
    // renames an empty file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Written::No; // the folder refuses: the destructor leaves nothing
    if (file.write(bytes) != bytes.size())
        return Written::No; // the destructor discards the temporary file
    if (!syncToDisk(file))
        return Written::No;
    if (file.commit())
        return Written::Yes;
#ifdef Q_OS_WIN
    if (replaceWasBlocked(fileName))
        return Written::Blocked;
#endif
    return Written::No;
}

} // namespace

void saveBytes(const QDir &folder, const QString &name, const QByteArray &bytes)
{
    const QString fileName = folder.filePath(name);
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        const Written written = tryWrite(fileName, bytes);
        if (written == Written::Yes)
            return;
        // Windows refuses to replace a file that another process (the runner,
        // a virus scanner) holds open; such a hold is mostly over in a moment.
        if (written == Written::No || elapsed.elapsed() >= kReplaceRetry)
            throw FileCreateError(name);
        QThread::msleep(50);
    }
}

void saveLines(const QDir &folder, const QString &name, const Lines &lines)
{
    saveBytes(folder, name, joinLines(lines));
}

} // namespace nerubato
