#include "Messages.h"

#include "platform/Platform.h"
#include "settings/Errors.h"
#include "ui/Placement.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>

namespace nerubato {

namespace {

class MessageDialog : public QMessageBox
{
public:
    // A report line or a field's text is shown as it is, never read as markup.
    MessageDialog(Icon icon, const QString &caption, const QString &text)
        : QMessageBox(icon, caption, QString(), NoButton)
    {
        setTextFormat(Qt::PlainText);
        setText(text);
    }
    bool closedByFrame() const { return m_closedByFrame; }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        m_closedByFrame = true;
        QMessageBox::closeEvent(event);
    }
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        centreOnScreen(this);
    }

private:
    bool m_closedByFrame = false;
};

struct ButtonSpec
{
    MessageButton button;
    const char16_t *text;
    QMessageBox::ButtonRole role;
};

constexpr ButtonSpec kButtons[] = {
    {Yes, u"はい(&Y)", QMessageBox::YesRole},
    {No, u"いいえ(&N)", QMessageBox::NoRole},
    {Ok, u"OK", QMessageBox::AcceptRole},
    {Cancel, u"ｷｬﾝｾﾙ", QMessageBox::RejectRole},
};

QString captionOf(MessageType type)
{
    switch (type) {
    case MessageType::Warning:
        return QStringLiteral("警告");
    case MessageType::Error:
        return QStringLiteral("ｴﾗｰ");
    case MessageType::Information:
        return QStringLiteral("情報");
    case MessageType::Confirmation:
        break;
    }
    return QStringLiteral("確認");
}

QMessageBox::Icon iconOf(MessageType type)
{
    switch (type) {
    case MessageType::Warning:
        return QMessageBox::Warning;
    case MessageType::Error:
        return QMessageBox::Critical;
    case MessageType::Information:
        return QMessageBox::Information;
    case MessageType::Confirmation:
        break;
    }
    return QMessageBox::Question;
}

} // namespace

MessageButton showMessage(Platform &platform, MessageType type, const QStringList &lines,
                          int buttons, int defaultButton, MessageLayer layer)
{
    platform.messageBeep();
    MessageDialog box(iconOf(type), captionOf(type), lines.join(QStringLiteral("\r\n")));
    box.setWindowFlag(Qt::WindowStaysOnTopHint, layer == MessageLayer::OnTop);
    QAbstractButton *escape = nullptr;
    QAbstractButton *byButton[4] = {};
    for (int i = 0; i < 4; ++i) {
        const ButtonSpec &entry = kButtons[i];
        if (!(buttons & entry.button))
            continue;
        byButton[i] = box.addButton(QString::fromUtf16(entry.text), entry.role);
    }
    // Default: OK if offered, else Yes. Escape: Cancel, else No, else OK.
    QAbstractButton *usual = byButton[2] ? byButton[2] : byButton[0];
    for (int i = 0; i < 4; ++i) {
        if (kButtons[i].button == defaultButton && byButton[i])
            usual = byButton[i];
    }
    if (auto *def = qobject_cast<QPushButton *>(usual))
        box.setDefaultButton(def);
    for (int i : {3, 1, 2}) {
        if (byButton[i]) {
            escape = byButton[i];
            break;
        }
    }
    box.setEscapeButton(escape);
    box.exec();
    if (box.closedByFrame())
        return Cancel;
    for (int i = 0; i < 4; ++i) {
        if (byButton[i] && box.clickedButton() == byButton[i])
            return kButtons[i].button;
    }
    return Cancel;
}

void showErrorBox(Platform &platform, const QString &text)
{
    platform.messageBeep();
    MessageDialog box(QMessageBox::Critical, kApplicationTitle, text + QLatin1Char('.'));
    QAbstractButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(qobject_cast<QPushButton *>(ok));
    box.setEscapeButton(ok);
    box.exec();
}

QString describe(const std::exception &e)
{
    if (const auto *error = dynamic_cast<const Error *>(&e))
        return error->text();
    return QString::fromLocal8Bit(e.what());
}

} // namespace nerubato
