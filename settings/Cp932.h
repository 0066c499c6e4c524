#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// The one place that converts between CP932 (Shift-JIS) bytes and text. On
// Linux ICU does the table work, on Windows the system's code page 932; the
// rules around it are ours, so that both builds give the same answers.
namespace nerubato::cp932 {

// Lead bytes of a double-byte character; the byte after one is never a separator.
constexpr bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr bool isTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
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

// True when the last character of bytes is the single-byte character c
// (not the trail byte of a double-byte character).
bool endsWithSingleByte(const QByteArray &bytes, char c);

} // namespace nerubato::cp932
