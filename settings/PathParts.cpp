#include "PathParts.h"

#include "Cp932.h"

namespace nerubato {

namespace {

// Stored paths pair bytes as they always have (see cp932::LeadTakes).
constexpr auto kPaths = cp932::LeadTakes::AnyByte;

bool isSeparator(char c)
{
    return c == '\\' || c == ':';
}

// Cuts to at most max bytes without splitting a double-byte character.
QByteArray cutBytes(const QByteArray &bytes, qsizetype max)
{
    qsizetype end = 0;
    while (end < bytes.size()) {
        const qsizetype next = cp932::nextCharacter(bytes, end, kPaths);
        if (next > max)
            break;
        end = next;
    }
    return bytes.left(end);
}

} // namespace

QByteArray fileNamePart(const QByteArray &path)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); i = cp932::nextCharacter(path, i, kPaths)) {
        if (isSeparator(path[i]))
            start = i + 1;
    }
    return path.mid(start);
}

PathParts splitPath(const QByteArray &path)
{
    // Positions are 0-based here: a separator at index i is position i + 1.
    qsizetype cut = 0;
    for (qsizetype i = 0; i < path.size(); i = cp932::nextCharacter(path, i, kPaths)) {
        const char c = path[i];
        if (!isSeparator(c))
            continue;
        if (i + 1 < path.size() && path[i + 1] == '\\') {
            cut = i + 2; // keep both: a drive root or a doubled backslash
            ++i;
        } else if (c == '\\' && i > 0) {
            cut = i;
        } else {
            cut = i + 1; // a bare drive's colon or a single leading backslash
        }
    }
    return {cutBytes(fileNamePart(path), kMaxFileNameBytes), path.left(cut)};
}

QByteArray joinPath(const QByteArray &directory, const QByteArray &fileName)
{
    if (directory.isEmpty())
        return fileName;
    if (directory.size() <= 3 &&
        (cp932::endsWithSingleByte(directory, ':') || cp932::endsWithSingleByte(directory, '\\')))
        return directory + fileName;
    // Longer directories, and short relative ones such as "..", get the separator.
    return directory + '\\' + fileName;
}

} // namespace nerubato
