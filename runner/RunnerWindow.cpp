#include "RunnerWindow.h"

#include "ui/Handlers.h"
#include "ui/Placement.h"
#include "ui_RunnerWindow.h"

#include <QCloseEvent>

namespace nerubato::runner {

RunnerWindow::RunnerWindow(Platform &platform, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::RunnerWindow>())
{
    ui->setupUi(this);
    setFixedSize(size());
    centreOnFirstShow(this);
    connect(ui->runNow_Btn, &QPushButton::clicked, this, &RunnerWindow::runNowPressed);
    connect(ui->cancel_Btn, &QPushButton::clicked, this, &RunnerWindow::cancelPressed);
    cancelOnEscape(platform, this, [this] { emit cancelPressed(); });
}

RunnerWindow::~RunnerWindow() = default;

void RunnerWindow::showText(const QString &message, const QString &programs)
{
    ui->message_Lbl->setText(message);
    ui->programs_Lbl->setText(programs);
}

void RunnerWindow::showSeconds(const QString &text)
{
    ui->seconds_Lbl->setText(text);
}

void RunnerWindow::offerRunNow(bool offered)
{
    ui->runNow_Btn->setVisible(offered);
    (offered ? ui->runNow_Btn : ui->cancel_Btn)->setFocus();
}

void RunnerWindow::closeEvent(QCloseEvent *event)
{
    // The window goes only when the run says so: the close box is 中止.
    event->ignore();
    emit cancelPressed();
}

} // namespace nerubato::runner
