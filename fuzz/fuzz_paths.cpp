// Path split and join. Two kinds of property:
//  - any bytes at all: the parts are where a CP932-aware reader of the path
//    finds them, never cut inside a double-byte character, the file name at most
//    255 bytes;
//  - a path in the form the writer meets (an optional drive or root, directory
//    names, a file name) built from the input: it splits into exactly the parts
//    it was built from and joins back to itself.

#include "fuzzcheck.h"
#include "settings/Cp932.h"
#include "settings/PathParts.h"

#include <QByteArray>
#include <QList>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

using namespace nerubato;

namespace {

bool isLead(char c)
{
    return cp932::isLeadByte(static_cast<unsigned char>(c));
}
bool isSeparator(char c)
{
    return c == '\\' || c == ':';
}

// Offsets at which a character starts, and the end; a lead byte takes the next
// byte with it whatever that byte is.
QList<qsizetype> characterStarts(const QByteArray &bytes)
{
    QList<qsizetype> starts;
    qsizetype i = 0;
    while (i < bytes.size()) {
        starts << i;
        i += isLead(bytes[i]) ? 2 : 1;
    }
    starts << bytes.size();
    return starts;
}

// Offset of the last single-byte separator, -1 if none.
qsizetype lastSeparator(const QByteArray &bytes)
{
    qsizetype last = -1;
    const QList<qsizetype> starts = characterStarts(bytes);
    for (qsizetype s : starts)
        if (s < bytes.size() && isSeparator(bytes[s]))
            last = s;
    return last;
}

// The longest run of whole characters from the start that fits in max bytes.
QByteArray cutToCharacters(const QByteArray &bytes, qsizetype max)
{
    qsizetype end = 0;
    for (qsizetype s : characterStarts(bytes)) {
        if (s > max)
            break;
        end = s;
    }
    return bytes.left(end);
}

void checkAnyBytes(const QByteArray &path)
{
    const PathParts parts = splitPath(path);
    const QList<qsizetype> starts = characterStarts(path);
    const qsizetype sep = lastSeparator(path);
    const QByteArray whole = path.mid(sep + 1);

    FUZZ_CHECK(parts.fileName.size() <= kMaxFileNameBytes);
    FUZZ_CHECK(fileNamePart(path) == whole);
    FUZZ_CHECK(parts.fileName == cutToCharacters(whole, kMaxFileNameBytes));

    FUZZ_CHECK(path.startsWith(parts.directory));
    FUZZ_CHECK(starts.contains(parts.directory.size()));
    if (sep < 0)
        FUZZ_CHECK(parts.directory.isEmpty());
    else // up to the last separator, with or without it
        FUZZ_CHECK(parts.directory.size() == sep || parts.directory.size() == sep + 1);
}

// Bytes that make whole characters and hold no single-byte separator.
QByteArray nameBytes(FuzzedDataProvider &in, size_t maxLength, bool openEnd)
{
    const std::string raw = in.ConsumeRandomLengthString(maxLength);
    QByteArray out;
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (isLead(c)) {
            if (i + 1 < raw.size())
                out.append(c).append(raw[++i]); // the trail may be 0x5C or ':'
            else if (openEnd)
                out.append(c); // a lone lead byte can end a path
        } else if (!isSeparator(c)) {
            out.append(c);
        }
    }
    return out;
}

void checkWriterForm(FuzzedDataProvider &in)
{
    char drive = static_cast<char>(in.ConsumeIntegral<uint8_t>());
    if (isLead(drive) || isSeparator(drive))
        drive = 'C';
    const QByteArray prefixes[] = {"", QByteArray(1, drive) + ":", QByteArray(1, drive) + ":\\",
                                   "\\", "\\\\"};
    const QByteArray prefix = prefixes[in.ConsumeIntegralInRange<int>(0, 4)];
    QList<QByteArray> directories;
    const int count = in.ConsumeIntegralInRange<int>(0, 4);
    for (int i = 0; i < count; ++i) {
        const QByteArray name = nameBytes(in, 40, false);
        if (!name.isEmpty())
            directories << name;
    }
    const QByteArray fileName = nameBytes(in, 320, true);

    QByteArray directory = prefix;
    for (qsizetype i = 0; i < directories.size(); ++i)
        directory += (i > 0 ? "\\" : "") + directories[i];
    const QByteArray path = directories.isEmpty() ? prefix + fileName : directory + '\\' + fileName;

    const PathParts parts = splitPath(path);
    FUZZ_CHECK(parts.directory == directory);
    FUZZ_CHECK(parts.fileName == cutToCharacters(fileName, kMaxFileNameBytes));
    if (fileName.size() <= kMaxFileNameBytes)
        FUZZ_CHECK(joinPath(parts.directory, parts.fileName) == path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkAnyBytes(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    FuzzedDataProvider in(data, size);
    checkWriterForm(in);
    return 0;
}
