#pragma once

#include "system/FileNames.h"

#include <QByteArray>
#include <QChar>
#include <QDir>
#include <QString>

namespace nerubato {

// Windows shows directories in lower case, letters A to Z only (double-byte
// characters stay as they are); names on a case-sensitive file system keep
// their case, or the path would name another directory.
QString lowerAsciiLetters(QString text);
inline QString shownDirectory(const QString &path)
{
    return kFoldersInLowerCase ? lowerAsciiLetters(path) : path;
}

// True when path ('/'-separated) is root itself or lies below it.
bool isWithin(const QString &path, const QString &root);

// The path box: a directory, a separator unless the directory already ends in
// one, then a file name (which may be empty). "Ends in one" means the last
// character is the single-byte separator; the second byte of a double-byte
// character never counts, so a directory ending in 表 (0x95 0x5C) still gets it.
// An empty directory yields the bare name rather than inventing a root.
QString composePath(const QString &directory, const QString &fileName,
                    QChar separator = QDir::separator());

// The same over CP932 bytes, where the trail byte of a double-byte character
// may be 0x5C.
QByteArray composePath(const QByteArray &directory, const QByteArray &fileName,
                       char separator = '\\');

} // namespace nerubato
