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

namespace nerubato {

TForm3::TForm3(Platform &platform, const StartFolder &folder, QWidget *parent)
    : QWidget(parent), m_platform(platform), m_folder(folder), ui(std::make_unique<Ui::TForm3>())
{
    ui->setupUi(this);
    centreOnFirstShow(this);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1")); // found by its name, as the controls are
    Timer1->setInterval(m_reportPoll.interval());

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
    ui->msgL->hide();
    WindowMode = WindowMode::Create;
}

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
    if (!m_folder.isRegistered()) {
        showMessage(m_platform, MessageType::Error,
                    {QStringLiteral("現在設定データは登録されていません")}, Ok);
        return;
    }
    const nerubato::WindowMode previousMode = WindowMode;
    WindowMode = WindowMode::View;
    try {
        const Lines lines = m_folder.readRegistration().value_or(Lines());
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
    enterStartFolder();
    if (fileExists(QDir(m_folder.path()), runner::kHelpFile))
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
        m_folder.writeSkipMarker();
    m_folder.removeReport(); // a report that stays would only be shown again
    m_reportPoll.begin();
    Timer1->setInterval(m_reportPoll.interval());
    enterStartFolder();
    ShellLaunch(runner::kRunnerFile, QString(), QString(), Platform::kSwHide);
}

void TForm3::Timer1Timer()
{
    if (m_reportPoll.tick(m_folder)) {
        // Raised before the dialog opens, so no tick runs inside this one.
        Timer1->setInterval(m_reportPoll.interval());
        showMessage(m_platform, MessageType::Error, {m_folder.readReport()}, Ok);
    }
    m_reportPoll.giveUpIfDue();
    Timer1->setInterval(m_reportPoll.interval());
}

// What the shell is handed is named in the current directory, and the runner
// works in it: the start directory, whatever else may have made another one
// current. (Gone, it cannot be entered; what is launched is then not found.)
void TForm3::enterStartFolder()
{
    QDir::setCurrent(m_folder.path());
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
