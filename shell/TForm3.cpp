#include "TForm3.h"

#include "editor/TForm1.h"
#include "platform/Platform.h"
#include "settings/RunnerContract.h"
#include "settings/SettingsFile.h"
#include "shell/Messages.h"
#include "ui_Form3.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>

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

    auto handle = [this](void (TForm3::*handler)()) {
        return guardedSlot(*m_forms.platform, this, handler);
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

namespace {

constexpr int kIdleInterval = 36000000; // ten hours: practically idle
constexpr int kGiveUpAfterTicks = 100;

} // namespace

void TForm3::showEditor()
{
    TForm1 *editor = m_forms.Form1;
    editor->showFirstPage();
    ApplyWindowMode();
    editor->show();
    editor->raise();
    editor->activateWindow();
}

void TForm3::settei_BtnClick()
{
    WindowMode = 1;
    showEditor();
}

void TForm3::kaijo_BtnClick()
{
    registrationFileName = runner::kRegistrationFile;
    if (!QFile::exists(registrationFileName)) {
        showMessage(*m_forms.platform, MessageType::Error,
                    {QStringLiteral("現在設定データは登録されていません")}, Ok);
        return;
    }
    TForm1 *editor = m_forms.Form1;
    const quint8 previousMode = WindowMode;
    WindowMode = 2;
    try {
        editor->SettingsLines = loadLines(registrationFileName);
        editor->LinesToSettings();
    } catch (...) {
        // The editor is not shown, so it must not change its mode either.
        WindowMode = previousMode;
        throw;
    }
    editor->EnableAll();
    showEditor();
}

void TForm3::help_BtnClick()
{
    ShellLaunch(runner::kHelpFile, QString(), QString(), Platform::kSwHide);
}

void TForm3::syuryo_Btn2Click()
{
    close();
}

void TForm3::test_BtnClick()
{
    const MessageButton answer =
        showMessage(*m_forms.platform, MessageType::Confirmation,
                    {QStringLiteral("  起動条件の判定を行いますか？"),
                     QStringLiteral("（いいえを選択すると、条件設定判定を行わず"),
                     QStringLiteral("即時に登録された作業のステップを実行します）")},
                    Yes | No | Cancel);
    if (answer == Cancel)
        return;
    if (answer == No)
        saveBytes(runner::kMarkerFile, runner::markerBytes());
    if (QFile::exists(reportFileName))
        QFile::remove(reportFileName); // a report that stays would only be shown again
    ReportPoll.waiting = 1;
    ReportPoll.ticks = 0;
    Timer1->setInterval(kPollInterval);
    ShellLaunch(runner::kRunnerFile, QString(), QString(), Platform::kSwHide);
}

void TForm3::Timer1Timer()
{
    if (ReportPoll.waiting == 1) {
        ++ReportPoll.ticks;
        if (QFile::exists(reportFileName)) {
            // Raised before the dialog opens, so no tick runs inside this one.
            ReportPoll.waiting = 0;
            Timer1->setInterval(kIdleInterval);
            const QString report = runner::readReport(reportFileName);
            showMessage(*m_forms.platform, MessageType::Error, {report}, Ok);
        }
    }
    if (ReportPoll.ticks > kGiveUpAfterTicks) {
        ReportPoll.waiting = 0;
        Timer1->setInterval(kIdleInterval);
        ReportPoll.ticks = 0;
    }
}

void TForm3::ApplyWindowMode()
{
    if (m_forms.Form1)
        m_forms.Form1->presentMode(WindowMode);
}

void TForm3::ShellLaunch(const QString &file, const QString &parameters, const QString &directory,
                         int showCommand)
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
