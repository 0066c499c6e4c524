#pragma once

#include <QByteArray>

namespace nerubato {

// A program path as stored: a file-name line and a directory line.
struct PathParts
{
    QByteArray fileName;
    QByteArray directory;
    bool operator==(const PathParts &) const = default;
};

constexpr int kMaxFileNameBytes = 255;

// Double-byte aware: the trail byte of a CP932 character is never a separator.
PathParts splitPath(const QByteArray &path);
QByteArray joinPath(const QByteArray &directory, const QByteArray &fileName);

// The bytes after the last single-byte "\" or ":" (the whole text if none).
QByteArray fileNamePart(const QByteArray &path);

} // namespace nerubato
