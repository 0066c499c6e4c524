#include "FailureWindow.h"

#include "platform/Platform.h"
#include "runner/core/Texts.h"
#include "ui/Handlers.h"
#include "ui/Placement.h"
#include "ui_FailureWindow.h"

#include <QCloseEvent>

namespace nerubato::runner {

FailureWindow::FailureWindow(Platform &platform, QWidget *parent)
    : QWidget(parent), m_platform(platform), ui(std::make_unique<Ui::FailureWindow>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    centreOnFirstShow(this);
    connect(ui->ok_Btn, &QPushButton::clicked, this, &QWidget::close);
    cancelOnEscape(platform, this, [this] { close(); });
}

FailureWindow::~FailureWindow() = default;

void FailureWindow::tell(const QStringList &failures, const QString &historyPath,
                         const QDateTime &now)
{
    const QString text = failureText(failures, historyPath);
    if (failures.isEmpty() || (m_toldAt.isValid() && ui->message_Lbl->text() == text))
        return;
    m_toldAt = now;
    ui->message_Lbl->setText(text);
    adjustSize();
    m_platform.showNormally(this, false);
}

void FailureWindow::expire(const QDateTime &now)
{
    if (isVisible() && now >= m_toldAt.addSecs(kShownSeconds))
        close();
}

void FailureWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}

} // namespace nerubato::runner
