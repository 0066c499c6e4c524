#include "TForm3.h"

#include "editor/TForm1.h"
#include "platform/Platform.h"
#include "settings/RunnerContract.h"
#include "shell/Messages.h"
#include "ui_Form3.h"

#include <QApplication>
#include <QCloseEvent>

namespace nerubato {

namespace {
constexpr int kPollInterval = 800;
}

TForm3::TForm3(Forms &forms, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::TForm3>()), m_forms(forms)
{
    ui->setupUi(this);
    centreOnScreen(this);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kPollInterval);

    auto handle = [this](auto handler) {
        return [this, handler] { guarded(*m_forms.platform, [&] { (this->*handler)(); }); };
    };
    connect(ui->settei_Btn, &QPushButton::clicked, this, handle(&TForm3::settei_BtnClick));
    connect(ui->test_Btn, &QPushButton::clicked, this, handle(&TForm3::test_BtnClick));
    connect(ui->kaijo_Btn, &QPushButton::clicked, this, handle(&TForm3::kaijo_BtnClick));
    connect(ui->help_Btn, &QPushButton::clicked, this, handle(&TForm3::help_BtnClick));
    connect(ui->syuryo_Btn2, &QPushButton::clicked, this, handle(&TForm3::syuryo_Btn2Click));
    connect(Timer1, &QTimer::timeout, this, handle(&TForm3::Timer1Timer));
    Timer1->start();
}

TForm3::~TForm3() = default;

void TForm3::FormCreate()
{
    reportFileName = runner::kReportFile;
    ui->msgL->hide();
    WindowMode = 1;
}

void TForm3::settei_BtnClick() {}
void TForm3::test_BtnClick() {}
void TForm3::kaijo_BtnClick() {}
void TForm3::help_BtnClick() {}
void TForm3::syuryo_Btn2Click() { close(); }
void TForm3::Timer1Timer() {}

void TForm3::ApplyWindowMode()
{
    if (m_forms.Form1)
        m_forms.Form1->presentMode(WindowMode);
}

void TForm3::ShellLaunch(const QString &file, const QString &parameters,
                         const QString &directory, int showCommand)
{
    m_forms.platform->shellLaunch(this, file, parameters, directory, showCommand);
}

void TForm3::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        QApplication::quit(); // the other windows close with the main one
}

} // namespace nerubato
