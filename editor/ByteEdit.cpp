#include "ByteEdit.h"

#include "settings/Cp932.h"
#include "settings/Errors.h"

#include <algorithm>

namespace nerubato {

ByteEdit::ByteEdit(QWidget *parent) : QLineEdit(parent) {}

void ByteEdit::setBytes(const QByteArray &bytes)
{
    m_bytes = bytes;
    m_shown = cp932::decode(bytes);
    setText(m_shown);
}

void ByteEdit::setNewText(const QString &text)
{
    m_bytes.clear();
    m_shown.clear();
    setText(text);
}

std::optional<QByteArray> ByteEdit::bytesFor(const QString &text) const
{
    if (text == m_shown)
        return m_bytes;
    // What stands before and after the edit keeps its bytes.
    const qsizetype most = std::min(text.size(), m_shown.size());
    qsizetype prefix = 0;
    while (prefix < most && text[prefix] == m_shown[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < most - prefix &&
           text[text.size() - 1 - suffix] == m_shown[m_shown.size() - 1 - suffix])
        ++suffix;
    const auto middle = cp932::encode(QStringView(text).mid(prefix, text.size() - prefix - suffix));
    if (!middle)
        return std::nullopt;
    const qsizetype head = cp932::byteLength(m_bytes, prefix);
    const qsizetype tail = cp932::byteLength(m_bytes, m_shown.size() - suffix);
    return m_bytes.left(head) + *middle + m_bytes.mid(tail);
}

QByteArray ByteEdit::bytes() const
{
    if (auto held = bytesFor(text()))
        return *held;
    // The validator keeps such characters out of what the user types.
    throw Error(QStringLiteral("'%1' には保存できない文字が含まれています").arg(text()));
}

void ByteEdit::acceptOnlyCp932()
{
    setValidator(new Cp932Validator(this));
}

Cp932Validator::Cp932Validator(ByteEdit *edit) : QValidator(edit), m_edit(edit) {}

QValidator::State Cp932Validator::validate(QString &input, int &) const
{
    return m_edit->bytesFor(input) ? Acceptable : Invalid;
}

} // namespace nerubato
