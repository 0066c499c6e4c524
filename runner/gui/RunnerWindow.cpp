#include "RunnerWindow.h"

#include "platform/Platform.h"
#include "ui/Handlers.h"
#include "ui/Placement.h"
#include "ui_RunnerWindow.h"

#include <QCloseEvent>
#include <QTimer>

namespace nerubato::runner {

RunnerWindow::RunnerWindow(Platform &platform, QWidget *parent)
    : QWidget(parent), m_platform(platform), ui(std::make_unique<Ui::RunnerWindow>())
{
    ui->setupUi(this);
    setFixedSize(size());
    centreOnFirstShow(this);
    connect(ui->runNow_Btn, &QPushButton::clicked, this, &RunnerWindow::runNowPressed);
    connect(ui->cancel_Btn, &QPushButton::clicked, this, &RunnerWindow::cancelPressed);
    cancelOnEscape(platform, this, [this] { emit cancelPressed(); });
}

RunnerWindow::~RunnerWindow() = default;

RunnerWindow::Minimize RunnerWindow::minimizing(const ScheduleSettings &record)
{
    if (record.minimize_Mode != MinimizeMode::Minimize)
        return Minimize::No;
    return record.smallstart_Flag ? Minimize::AtOnce : Minimize::OnceShown;
}

void RunnerWindow::present(Form form, const QString &message, const QString &programs,
                           Minimize minimize)
{
    ui->message_Lbl->setText(message);
    ui->programs_Lbl->setText(programs);
    ui->seconds_Lbl->clear();
    const bool runNow = form == Form::Countdown;
    ui->runNow_Btn->setVisible(runNow);
    (runNow ? ui->runNow_Btn : ui->cancel_Btn)->setFocus();
    setWindowFlag(Qt::WindowStaysOnTopHint, form == Form::Countdown || form == Form::EndCountdown);
    if (minimize == Minimize::AtOnce) {
        showMinimized();
        return;
    }
    // The tool starts the runner hidden, and Windows may put a program's
    // start-up show command in place of its first window's: the window must
    // be seen all the same.
    m_platform.showNormally(this);
    bringToFront(this);
    if (minimize == Minimize::OnceShown)
        QTimer::singleShot(0, this, &QWidget::showMinimized);
}

void RunnerWindow::showSeconds(const QString &text)
{
    ui->seconds_Lbl->setText(text);
}

void RunnerWindow::closeEvent(QCloseEvent *event)
{
    // The window goes only when the run says so: the close box is 中止.
    event->ignore();
    emit cancelPressed();
}

} // namespace nerubato::runner
