#pragma once

#include <QByteArray>
#include <QString>

namespace nerubato::cp932 {

// Lead bytes of a double-byte character; the byte after one is never a separator.
constexpr bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

QString decode(const QByteArray &bytes);
QByteArray encode(const QString &text);
// True when every character of text has a CP932 code, so encode() loses nothing.
bool canEncode(const QString &text);

// True when the last character of bytes is the single-byte character c
// (not the trail byte of a double-byte character).
bool endsWithSingleByte(const QByteArray &bytes, char c);

} // namespace nerubato::cp932
