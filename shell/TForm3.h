#pragma once

#include "settings/ReportPoll.h"
#include "settings/StartFolder.h"
#include "ui/Modes.h"

#include <QString>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace Ui {
class TForm3;
}

namespace nerubato {

class Platform;
class SettingsTarget;

// The main window. Closing it ends the program. It keeps the window mode and
// the test run's wait, opens the editor through its signals and loads the
// registration into it through SettingsTarget.
class TForm3 : public QWidget, public WindowModeSource
{
    Q_OBJECT

public:
    TForm3(Platform &platform, const StartFolder &folder, QWidget *parent = nullptr);
    ~TForm3() override;

    void FormCreate();
    void setSettingsTarget(SettingsTarget *editor) { m_editor = editor; }

    void ApplyWindowMode();
    nerubato::WindowMode windowMode() const override { return WindowMode; }

signals:
    // ApplyWindowMode: the editor's caption, save button and load button.
    void windowModeApplied(nerubato::WindowMode windowMode);
    void editorFirstPageWanted();
    // The editor shown modelessly and brought to the front.
    void editorWanted();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void settei_BtnClick();
    void test_BtnClick();
    void kaijo_BtnClick();
    void help_BtnClick();
    void syuryo_Btn2Click();
    void Timer1Timer();

    // The user's guide, beside the program (native separators).
    static QString guideFile();
    void ShellLaunch(const QString &file, const QString &parameters, const QString &directory,
                     int showCommand);
    void showEditor();
    void enterStartFolder();

    Platform &m_platform;
    StartFolder m_folder;
    std::unique_ptr<Ui::TForm3> ui;
    SettingsTarget *m_editor = nullptr;
    nerubato::WindowMode WindowMode = nerubato::WindowMode::Create;
    ReportPoll m_reportPoll;
    QTimer *Timer1 = nullptr;
};

} // namespace nerubato
