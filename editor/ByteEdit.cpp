#include "ByteEdit.h"

#include "editor/core/FieldText.h"
#include "settings/Cp932.h"
#include "settings/Errors.h"

#include <limits>

namespace nerubato {

namespace {

Error unsavable(const QString &text)
{
    return Error(QStringLiteral("'%1' には保存できない文字が含まれています").arg(text));
}

} // namespace

ByteEdit::ByteEdit(QWidget *parent) : QLineEdit(parent)
{
    // QLineEdit's default of 32,767 characters would cut a longer loaded text.
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(new FieldValidator(this));
    // setText() runs the validator, which cuts line breaks, but keeps what it
    // calls invalid: that text is put back here, by the validator's own verdict.
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text != m_previous && !hasAcceptableInput()) {
            setText(m_previous);
            return;
        }
        m_previous = text;
    });
}

void ByteEdit::setBytes(const QByteArray &bytes)
{
    m_bytes = bytes;
    m_shown = cp932::decode(bytes);
    m_previous = m_shown;
    setText(m_shown);
}

void ByteEdit::setNewText(const QString &text)
{
    if (!cp932::canHold(text))
        throw unsavable(text);
    m_bytes.clear();
    m_shown.clear();
    setText(text);
}

std::optional<QByteArray> ByteEdit::bytesFor(const QString &text) const
{
    return fieldtext::bytesFor(m_bytes, m_shown, text);
}

QByteArray ByteEdit::bytes() const
{
    if (auto held = bytesFor(text()))
        return *held;
    throw unsavable(text());
}

FieldValidator::FieldValidator(ByteEdit *edit) : QValidator(edit), m_edit(edit) {}

QValidator::State FieldValidator::validate(QString &input, int &pos) const
{
    if (fieldtext::hasLineBreak(input)) {
        qsizetype cursor = pos;
        input = fieldtext::withoutLineBreaks(m_edit->previousText(), input, &cursor);
        pos = int(cursor);
    }
    return m_edit->bytesFor(input) ? Acceptable : Invalid;
}

} // namespace nerubato
