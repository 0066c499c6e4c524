#pragma once

#include <QByteArray>
#include <QLineEdit>
#include <QValidator>

namespace nerubato {

// An edit field that holds CP932 bytes. It shows them decoded, and gives back
// the very bytes it was handed for as long as the text still reads the same,
// so a loaded text the user leaves alone is saved byte for byte even where it
// is not valid CP932.
class ByteEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit ByteEdit(QWidget *parent = nullptr);

    void setBytes(const QByteArray &bytes);
    QByteArray bytes() const;

    // Lets the user type only what CP932 can hold.
    void acceptOnlyCp932();

private:
    QByteArray m_bytes;
    QString m_shown;
    bool m_holdsBytes = false;
};

// Accepts a text when CP932 can encode it. The replacement characters that
// stand for undecodable loaded bytes may stay or be deleted, but none is added.
class Cp932Validator : public QValidator
{
    Q_OBJECT

public:
    explicit Cp932Validator(QLineEdit *edit);
    State validate(QString &input, int &pos) const override;

private:
    QLineEdit *m_edit;
};

} // namespace nerubato
