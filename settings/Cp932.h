#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// The one place that converts between CP932 (Shift-JIS) bytes and text. On
// Linux ICU does the table work, on Windows the system's code page 932; the
// rules around it are ours, so that both builds give the same answers.
namespace nerubato::cp932 {

// The bytes that start a double-byte character, and those that may end one.
constexpr bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr bool isTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Which byte after a lead byte makes one character with it. The converters
// take a trail byte only, as the code page's tables do: before any other byte
// the lead is a stray byte of its own and the next byte reads as itself. Paths
// take any byte, as they have always been split and joined: there a ':' or a
// control byte after a lead byte is no separator, and a stored path has to
// split where it split when it was saved.
enum class LeadTakes { TrailByte, AnyByte };

// Where the next character starts after the one that starts at i: i + 2 for a
// lead byte and the byte it takes, else i + 1 (so also for a lead byte at the
// very end). Every walk over CP932 bytes steps with this, so that a trail
// byte 0x5C is never a separator.
inline qsizetype nextCharacter(const QByteArray &bytes, qsizetype i, LeadTakes takes)
{
    if (i + 1 < bytes.size() && isLeadByte(static_cast<unsigned char>(bytes[i])) &&
        (takes == LeadTakes::AnyByte || isTrailByte(static_cast<unsigned char>(bytes[i + 1]))))
        return i + 2;
    return i + 1;
}

// Every byte, or pair of bytes, that is no CP932 character shows as one U+FFFD:
// a stray 0x80, 0xA0 or 0xFD-0xFF, a lead byte without its trail (also at the
// very end), an unassigned code.
// Each character, valid or not, is exactly one QChar of the result.
QString decode(const QByteArray &bytes);

// How many bytes the first `characters` characters of bytes take, counted as
// decode() shows them.
qsizetype byteLength(const QByteArray &bytes, qsizetype characters);

// The bytes of text, or nothing when a character of it has no CP932 code that
// reads back as that character (U+FFFD, Hangul, an emoji, U+00A5 ...). Nothing
// is ever turned into another character.
std::optional<QByteArray> encode(QStringView text);
bool canEncode(QStringView text);

// True when a line of the settings file (a field, a program's path) can hold
// text as it stands: no line break, no NUL, and nothing CP932 cannot hold.
bool canHold(QStringView text);

// True when the last character of bytes is the single-byte character c
// (not the byte after a lead byte), read as paths are: LeadTakes::AnyByte.
bool endsWithSingleByte(const QByteArray &bytes, char c);

} // namespace nerubato::cp932
