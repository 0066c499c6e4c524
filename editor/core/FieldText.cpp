#include "FieldText.h"

#include "settings/Cp932.h"

#include <algorithm>

namespace nerubato::fieldtext {

namespace {

bool isBreak(QChar c)
{
    return c == u'\r' || c == u'\n' || c == u'\0';
}

// The length of what before and after have in common at the start, and then
// at the end of what remains.
struct Common
{
    qsizetype prefix = 0;
    qsizetype suffix = 0;
};

Common common(QStringView before, QStringView after)
{
    Common c;
    const qsizetype most = std::min(before.size(), after.size());
    while (c.prefix < most && before[c.prefix] == after[c.prefix])
        ++c.prefix;
    while (c.suffix < most - c.prefix &&
           before[before.size() - 1 - c.suffix] == after[after.size() - 1 - c.suffix])
        ++c.suffix;
    return c;
}

} // namespace

bool hasLineBreak(QStringView text)
{
    return std::any_of(text.begin(), text.end(), isBreak);
}

QString withoutLineBreaks(QStringView before, const QString &after, qsizetype *cursor)
{
    if (!hasLineBreak(after))
        return after;
    // Were there a break in before, all of after counts as new, so that none
    // is left either way.
    const Common c = hasLineBreak(before) ? Common{} : common(before, after);
    const QStringView inserted =
        QStringView(after).mid(c.prefix, after.size() - c.prefix - c.suffix);
    const qsizetype cut =
        std::find_if(inserted.begin(), inserted.end(), isBreak) - inserted.begin();
    if (cursor)
        *cursor = c.prefix + cut;
    return after.left(c.prefix) + inserted.left(cut).toString() + after.right(c.suffix);
}

std::optional<QByteArray> bytesFor(const QByteArray &bytes, const QString &shown,
                                   const QString &text)
{
    if (text == shown)
        return bytes;
    const Common c = common(shown, text);
    const auto middle =
        cp932::encode(QStringView(text).mid(c.prefix, text.size() - c.prefix - c.suffix));
    if (!middle)
        return std::nullopt;
    const qsizetype head = cp932::byteLength(bytes, c.prefix);
    const qsizetype tail = cp932::byteLength(bytes, shown.size() - c.suffix);
    return bytes.left(head) + *middle + bytes.mid(tail);
}

} // namespace nerubato::fieldtext
