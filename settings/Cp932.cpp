#include "Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace nerubato::cp932 {

namespace {
constexpr const char *kCodec = "windows-31j";
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodec);
    return decoder.decode(bytes);
}

QByteArray encode(const QString &text)
{
    QStringEncoder encoder(kCodec);
    return encoder.encode(text);
}

bool canEncode(const QString &text)
{
    QStringEncoder encoder(kCodec);
    const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError();
}

bool endsWithSingleByte(const QByteArray &bytes, char c)
{
    qsizetype last = -1;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        last = i;
        if (isLeadByte(static_cast<unsigned char>(bytes[i])))
            ++i;
    }
    return last == bytes.size() - 1 && last >= 0 && bytes[last] == c;
}

} // namespace nerubato::cp932
