#pragma once

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

// The main window. Closing it ends the program. It opens the editor through
// its signals and loads the registration into it through SettingsTarget.
class TForm3 : public QWidget
{
    Q_OBJECT

public:
    struct Poll
    {
        quint8 waiting = 0;
        qint32 ticks = 0;
    };

    explicit TForm3(Platform &platform, QWidget *parent = nullptr);
    ~TForm3() override;

    void FormCreate();
    void setSettingsTarget(SettingsTarget *editor) { m_editor = editor; }

    void settei_BtnClick();
    void test_BtnClick();
    void kaijo_BtnClick();
    void help_BtnClick();
    void syuryo_Btn2Click();
    void Timer1Timer();

    void ApplyWindowMode();
    // The user's guide, beside the program (native separators).
    static QString guideFile();
    void ShellLaunch(const QString &file, const QString &parameters, const QString &directory,
                     int showCommand);

    nerubato::WindowMode WindowMode = nerubato::WindowMode::Create;
    Poll ReportPoll;
    QString reportFileName;
    QTimer *Timer1 = nullptr;

signals:
    // ApplyWindowMode: the editor's caption, save button and load button.
    void windowModeApplied(nerubato::WindowMode windowMode);
    void editorFirstPageWanted();
    // The editor shown modelessly and brought to the front.
    void editorWanted();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showEditor();

    Platform &m_platform;
    std::unique_ptr<Ui::TForm3> ui;
    SettingsTarget *m_editor = nullptr;
};

} // namespace nerubato
