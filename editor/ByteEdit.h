#pragma once

#include <QByteArray>
#include <QLineEdit>
#include <QValidator>

#include <optional>

namespace nerubato {

// An edit field that holds CP932 bytes. It shows them decoded; what the user
// leaves of a loaded text keeps its very bytes, even where they are not valid
// CP932 or where CP932 has two codes for the character shown, and only what
// the user typed is encoded. So a loaded text the user leaves alone is saved
// byte for byte, whatever its length, and an edit changes no byte outside itself.
//
// Whatever way text comes in (typed, pasted, dropped, set through the
// accessibility interface), the field takes only what CP932 can hold, and of
// text with a line break or a NUL only what stands before the first one.
class ByteEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit ByteEdit(QWidget *parent = nullptr);

    // A loaded text: these bytes stand behind what the field shows.
    void setBytes(const QByteArray &bytes);
    // A text the program composed (a stepped value, a chosen path): no bytes
    // of its own stand behind it. Throws for text the field cannot hold.
    void setNewText(const QString &text);

    // Throws when the field shows a character that CP932 cannot hold.
    QByteArray bytes() const;
    std::optional<QByteArray> bytesFor(const QString &text) const;

    // The text before the change now under way.
    const QString &previousText() const { return m_previous; }

private:
    QByteArray m_bytes;
    QString m_shown;
    QString m_previous;
};

class FieldValidator : public QValidator
{
    Q_OBJECT

public:
    explicit FieldValidator(ByteEdit *edit);
    State validate(QString &input, int &pos) const override;

private:
    ByteEdit *m_edit;
};

} // namespace nerubato
