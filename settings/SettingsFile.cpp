#include "SettingsFile.h"

#include "Errors.h"

#include <QFile>
#include <QSaveFile>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif
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

Lines loadLines(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw FileOpenError(fileName);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
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
#ifdef Q_OS_WIN
    // The runner or a virus scanner may hold the target open for a moment.
    constexpr int kAttempts = 20;
#else
    constexpr int kAttempts = 1;
#endif
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        if (tryWrite(fileName, bytes))
            return;
        if (attempt < kAttempts)
            QThread::msleep(50);
    }
    throw FileCreateError(fileName);
}

void saveLines(const QString &fileName, const Lines &lines)
{
    saveBytes(fileName, joinLines(lines));
}

} // namespace nerubato
