#include "CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace nerubato {

namespace {

constexpr const char *kCodec = "windows-31j";

// ICU's table swaps three control codes round (0x1A reads as U+001C, 0x1C as
// U+007F, 0x7F as U+001A, and back) where code page 932 maps every byte under
// 0x80 to itself: put them back, so that both builds read and write the same
// bytes.
// Each pair: what ICU reads a byte as, and the byte's own code point.
constexpr char16_t kSwapped[][2] = {{0x1C, 0x1A}, {0x7F, 0x1C}, {0x1A, 0x7F}};

QChar fromTable(QChar c)
{
    for (const auto &[table, own] : kSwapped) {
        if (c.unicode() == table)
            return QChar(own);
    }
    return c;
}

QChar toTable(QChar c)
{
    for (const auto &[table, own] : kSwapped) {
        if (c.unicode() == own)
            return QChar(table);
    }
    return c;
}

} // namespace

bool decodeCodePage932(const char *data, qsizetype size, QString &out)
{
    QStringDecoder decoder(kCodec);
    out = decoder.decode(QByteArrayView(data, size));
    for (QChar &c : out)
        c = fromTable(c);
    return !decoder.hasError();
}

bool encodeCodePage932(QStringView text, QByteArray &out)
{
    QString table(text.size(), Qt::Uninitialized);
    std::transform(text.begin(), text.end(), table.begin(), toTable);
    QStringEncoder encoder(kCodec);
    out = encoder.encode(table);
    return !encoder.hasError();
}

} // namespace nerubato
