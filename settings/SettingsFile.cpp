#include "SettingsFile.h"

#include "Errors.h"
#include "system/Files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <algorithm>


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
    const bool read = readUnshared(fileName, kShareRetry, [&](const char *data, qsizetype size) {
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

enum class Written { Yes, Blocked, No };

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
    return replaceWasBlocked(fileName) ? Written::Blocked : Written::No;
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
