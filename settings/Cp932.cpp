#include "Cp932.h"

#include "system/CodePage.h"

#include <algorithm>

namespace nerubato::cp932 {

namespace {

// The converters pair bytes as the tables do.
constexpr auto kTables = LeadTakes::TrailByte;

// Whether the character from i to next is one for the tables to read: a lead
// byte with its trail, ASCII or half-width katakana. Anything else is a stray
// byte, a U+FFFD of its own without asking them.
bool isCharacter(const QByteArray &bytes, qsizetype i, qsizetype next)
{
    const auto b = static_cast<unsigned char>(bytes[i]);
    return next - i == 2 || b < 0x80 || (b >= 0xA1 && b <= 0xDF);
}

qsizetype characterCount(const QByteArray &bytes, qsizetype from, qsizetype to)
{
    qsizetype count = 0;
    for (qsizetype i = from; i < to; i = nextCharacter(bytes, i, kTables))
        ++count;
    return count;
}

// A run of well-formed characters; an unassigned code inside it costs a
// lookup per character, which only text that is not CP932 pays.
void appendRun(const QByteArray &bytes, qsizetype from, qsizetype to, QString &out)
{
    if (from == to)
        return;
    QString run;
    // One QChar per character is what byteLength() relies on.
    if (decodeCodePage932(bytes.constData() + from, to - from, run) &&
        run.size() == characterCount(bytes, from, to)) {
        out += run;
        return;
    }
    for (qsizetype i = from, next = from; i < to; i = next) {
        next = nextCharacter(bytes, i, kTables);
        QString one;
        out += decodeCodePage932(bytes.constData() + i, next - i, one) && one.size() == 1
                   ? one
                   : QString(QChar::ReplacementCharacter);
    }
}

} // namespace

QString decode(const QByteArray &bytes)
{
    // ASCII reads the same in CP932: no table, no converter to open.
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    QString out;
    out.reserve(bytes.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0, next = 0; i < bytes.size(); i = next) {
        next = nextCharacter(bytes, i, kTables);
        if (isCharacter(bytes, i, next))
            continue;
        appendRun(bytes, runStart, i, out);
        out += QChar::ReplacementCharacter;
        runStart = next;
    }
    appendRun(bytes, runStart, bytes.size(), out);
    return out;
}

qsizetype byteLength(const QByteArray &bytes, qsizetype characters)
{
    qsizetype i = 0;
    for (qsizetype n = 0; n < characters && i < bytes.size(); ++n)
        i = nextCharacter(bytes, i, kTables);
    return i;
}

std::optional<QByteArray> encode(QStringView text)
{
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    QByteArray bytes;
    // The round trip refuses what a table maps one way only, such as the
    // private-use characters Windows gives the stray bytes 0xA0 and 0xFD.
    if (!encodeCodePage932(text, bytes) || decode(bytes) != text)
        return std::nullopt;
    return bytes;
}

bool canEncode(QStringView text)
{
    return encode(text).has_value();
}

bool canHold(QStringView text)
{
    // Each would end the line there, and what follows would be read as the next.
    const auto endsLine = [](QChar c) { return c == u'\r' || c == u'\n' || c == u'\0'; };
    return std::none_of(text.begin(), text.end(), endsLine) && canEncode(text);
}

bool endsWithSingleByte(const QByteArray &bytes, char c)
{
    qsizetype last = -1;
    for (qsizetype i = 0; i < bytes.size(); i = nextCharacter(bytes, i, LeadTakes::AnyByte))
        last = i;
    return last >= 0 && last == bytes.size() - 1 && bytes[last] == c;
}

} // namespace nerubato::cp932
