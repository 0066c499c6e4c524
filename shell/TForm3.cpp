#include "TForm3.h"

#include "platform/Platform.h"
#include "settings/RunnerContract.h"
#include "settings/SettingsFile.h"
#include "ui/Handlers.h"
#include "ui/Placement.h"
#include "ui/SettingsTarget.h"
#include "ui_TForm3.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>

namespace nerubato {

namespace {
constexpr int kPollInterval = 800;
}

TForm3::TForm3(Platform &platform, QWidget *parent)
    : QWidget(parent), m_platform(platform), ui(std::make_unique<Ui::TForm3>())
{
    ui->setupUi(this);
    centreOnFirstShow(this);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kPollInterval);

    const std::pair<QPushButton *, void (TForm3::*)()> buttons[] = {
        {ui->settei_Btn, &TForm3::settei_BtnClick},
        {ui->test_Btn, &TForm3::test_BtnClick},
        {ui->kaijo_Btn, &TForm3::kaijo_BtnClick},
        {ui->help_Btn, &TForm3::help_BtnClick},
        {ui->syuryo_Btn2, &TForm3::syuryo_Btn2Click}};
    for (const auto &[button, handler] : buttons)
        connectGuarded(m_platform, button, &QPushButton::clicked, this, handler);
    connectGuarded(m_platform, Timer1, &QTimer::timeout, this, &TForm3::Timer1Timer);
    Timer1->start();
}

TForm3::~TForm3() = default;

void TForm3::FormCreate()
{
    reportFileName = runner::kReportFile;
    ui->msgL->hide();
    WindowMode = WindowMode::Create;
}

namespace {

constexpr int kIdleInterval = 36000000; // ten hours: practically idle
constexpr int kGiveUpAfterTicks = 100;

} // namespace

void TForm3::showEditor()
{
    emit editorFirstPageWanted();
    ApplyWindowMode();
    emit editorWanted();
}

void TForm3::settei_BtnClick()
{
    WindowMode = WindowMode::Create;
    showEditor();
}

void TForm3::kaijo_BtnClick()
{
    if (!runner::isRegistered()) {
        showMessage(m_platform, MessageType::Error,
                    {QStringLiteral("現在設定データは登録されていません")}, Ok);
        return;
    }
    const nerubato::WindowMode previousMode = WindowMode;
    WindowMode = WindowMode::View;
    try {
        const Lines lines = runner::readRegistration();
        if (m_editor)
            m_editor->loadLines(lines);
    } catch (...) {
        // The editor is not shown, so it must not change its mode either.
        WindowMode = previousMode;
        throw;
    }
    if (m_editor)
        m_editor->EnableAll();
    showEditor();
}

QString TForm3::guideFile()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath() +
                                    QStringLiteral("/guide/index.html"));
}

void TForm3::help_BtnClick()
{
    // Windows has had no viewer for the old help format since Vista, and the
    // program ships no such file: without one, the guide shipped beside the
    // program opens in the browser instead of nothing happening.
    if (fileExists(runner::kHelpFile))
        ShellLaunch(runner::kHelpFile, QString(), QString(), Platform::kSwHide);
    else
        ShellLaunch(guideFile(), QString(), QString(), Platform::kSwShowNormal);
}

void TForm3::syuryo_Btn2Click()
{
    close();
}

void TForm3::test_BtnClick()
{
    const MessageButton answer =
        showMessage(m_platform, MessageType::Confirmation,
                    {QStringLiteral("  起動条件の判定を行いますか？"),
                     QStringLiteral("（いいえを選択すると、条件設定判定を行わず"),
                     QStringLiteral("即時に登録された作業のステップを実行します）")},
                    Yes | No | Cancel);
    if (answer == Cancel)
        return;
    if (answer == No)
        runner::writeSkipMarker();
    if (fileExists(reportFileName))
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
        if (fileExists(reportFileName)) {
            // Raised before the dialog opens, so no tick runs inside this one.
            ReportPoll.waiting = 0;
            Timer1->setInterval(kIdleInterval);
            const QString report = runner::readReport(reportFileName);
            showMessage(m_platform, MessageType::Error, {report}, Ok);
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
    emit windowModeApplied(WindowMode);
}

void TForm3::ShellLaunch(const QString &file, const QString &parameters, const QString &directory,
                         int showCommand)
{
    m_platform.shellLaunch(this, file, parameters, directory, showCommand);
}

void TForm3::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        QApplication::quit(); // the other windows close with the main one
}

} // namespace nerubato
