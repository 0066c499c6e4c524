#include "ByteEdit.h"

#include "settings/Cp932.h"

namespace nerubato {

ByteEdit::ByteEdit(QWidget *parent) : QLineEdit(parent) {}

void ByteEdit::setBytes(const QByteArray &bytes)
{
    m_bytes = bytes;
    m_shown = cp932::decode(bytes);
    m_holdsBytes = true;
    setText(m_shown);
}

QByteArray ByteEdit::bytes() const
{
    if (m_holdsBytes && text() == m_shown)
        return m_bytes;
    return cp932::encode(text());
}

void ByteEdit::acceptOnlyCp932()
{
    setValidator(new Cp932Validator(this));
}

Cp932Validator::Cp932Validator(QLineEdit *edit) : QValidator(edit), m_edit(edit) {}

QValidator::State Cp932Validator::validate(QString &input, int &) const
{
    if (cp932::canEncode(input))
        return Acceptable;
    QString rest = input;
    rest.remove(QChar::ReplacementCharacter);
    if (!cp932::canEncode(rest))
        return Invalid;
    return input.count(QChar::ReplacementCharacter) <=
                   m_edit->text().count(QChar::ReplacementCharacter)
               ? Acceptable
               : Invalid;
}

} // namespace nerubato
