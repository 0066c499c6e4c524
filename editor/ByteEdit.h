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
// byte for byte, and an edit changes no byte outside itself.
class ByteEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit ByteEdit(QWidget *parent = nullptr);

    // A loaded text: these bytes stand behind what the field shows.
    void setBytes(const QByteArray &bytes);
    // A text the program composed (a stepped value, a chosen path): no bytes
    // of its own stand behind it.
    void setNewText(const QString &text);

    // Throws when the field shows a character that CP932 cannot hold.
    QByteArray bytes() const;
    // The bytes the field would hold if it showed text; nothing when a
    // character the user would have added has no CP932 code.
    std::optional<QByteArray> bytesFor(const QString &text) const;

    // Lets the user type only what CP932 can hold.
    void acceptOnlyCp932();

private:
    QByteArray m_bytes;
    QString m_shown;
};

class Cp932Validator : public QValidator
{
    Q_OBJECT

public:
    explicit Cp932Validator(ByteEdit *edit);
    State validate(QString &input, int &pos) const override;

private:
    ByteEdit *m_edit;
};

} // namespace nerubato
