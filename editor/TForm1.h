#pragma once

#include "editor/core/Steps.h"
#include "settings/ScheduleSettings.h"
#include "ui/SettingsTarget.h"

#include <QString>
#include <QWidget>

#include <array>
#include <memory>

class QCheckBox;
class QPushButton;

namespace Ui {
class TForm1;
}

namespace nerubato {

class ByteEdit;
class MouseUpCheckBox;
class Platform;
class Stepper;

// The settings editor. Its controls are the schedule being edited; it owns
// SettingsLines, StartDirectory, SlotAction, SlotFileName and BrowseTarget.
// What it asks of the other windows it says through its signals.
class TForm1 : public QWidget, public SettingsTarget
{
    Q_OBJECT

public:
    explicit TForm1(Platform &platform, QWidget *parent = nullptr);
    ~TForm1() override;

    void FormCreate();
    // At program end, before the windows go.
    void FormDestroy();

    // SettingsTarget: the main window's view and the slot chooser's flows.
    void loadLines(const Lines &lines) override;
    nerubato::SlotAction slotAction() const override { return SlotAction; }
    QString slotFileName() const override { return SlotFileName; }
    void setSlotFileName(const QString &fileName) override { SlotFileName = fileName; }

    // The record <-> the controls, through SettingsLines.
    void SettingsToLines();
    void LinesToSettings();
    ScheduleSettings settings() const;
    void setSettings(const ScheduleSettings &s);

    // The enabling rules: each sets its dependants' enabled state from the
    // checked state of its sources, and touches nothing else.
    void EnableKidobi();
    void EnableYobi();
    void EnableKido();
    void EnableSyuryo();
    void EnableDokuritu();
    void EnableYoyakugo();
    void EnableMinimize();
    void EnableAll() override;

    // The editor's side of the main window's mode: caption, hozon_Btn,
    // yomidasi, and what hozon_Btn does (Create saves, any other value unregisters).
    void presentMode(nerubato::WindowMode windowMode);
    void showFirstPage();
    void bringToFront();

    // Entry 1..5: the clear button of that row.
    void clearProgram(int entry);

    // The slot chooser closed without loading.
    void slotChooserClosed();
    // The file chooser accepted a path for BrowseTarget's entry, or closed.
    void programPathChosen(const QString &path);
    void fileChooserClosed();

    // Storage flows (editor side).
    bool RestoreStartDirectory();
    void hozon_BtnClick();
    void yomidasiClick();
    void syuryo_BtnClick();

    // Browse buttons: entry 1..5.
    void browse(int entry);

    // A mouse button released on a rule's source control.
    void kidobi_CBoxMouseUp() { EnableKidobi(); }
    void yobi_CBoxMouseUp() { EnableYobi(); }
    void sokuji_RBtnMouseUp() { EnableKido(); }
    void timer_RBtnMouseUp() { EnableKido(); }
    void syuryo1_RBtnMouseUp() { EnableSyuryo(); }
    void syuryo2_RBtnMouseUp() { EnableSyuryo(); }
    void syuryo3_RBtnMouseUp() { EnableSyuryo(); }
    void dokuritu_CBox2MouseUp() { EnableDokuritu(); }
    void dokuritu_CBox3MouseUp() { EnableDokuritu(); }
    void dokuritu_CBox4MouseUp() { EnableDokuritu(); }
    void dokuritu_CBox5MouseUp() { EnableDokuritu(); }
    void yoyakugo1_CBoxMouseUp() { EnableYoyakugo(); }
    void kidojiymd_RBtnMouseUp() { EnableYoyakugo(); }
    void siteiymd_RBtnMouseUp() { EnableYoyakugo(); }
    void minimize_RBtnMouseUp() { EnableMinimize(); }
    void nominimize_RBtnMouseUp() { EnableMinimize(); }

    Lines SettingsLines;
    QString StartDirectory;
    nerubato::SlotAction SlotAction = nerubato::SlotAction::None;
    QString SlotFileName;
    quint8 BrowseTarget = 0;

signals:
    // FormCreate applies the main window's mode.
    void windowModeWanted();
    // The save flow (SlotAction Save, the lines to save) or the load flow (Load).
    void slotChooserWanted(const nerubato::Lines &linesToSave);
    // The start directory could not be made current: no slot chooser may stay.
    void slotChooserDismissed();
    void fileChooserWanted();

private:
    struct ProgramRow
    {
        ByteEdit *path;
        ByteEdit *args;
        QPushButton *browse;
        QPushButton *clear;
    };
    // Programs 2 to 5 may run on their own after a delay.
    struct DelayRow
    {
        MouseUpCheckBox *independent;
        ByteEdit *minutes;
        Stepper *stepper;
    };
    struct StepperField
    {
        Stepper *stepper;
        ByteEdit *field;
        steps::StepRule rule;
    };

    void connectRuleSources();
    void connectSteppers();
    void nameForAssistiveTechnology();

    Platform &m_platform;
    std::unique_ptr<Ui::TForm1> ui;
    std::array<QCheckBox *, 7> m_weekdays; // Sunday first
    std::array<ProgramRow, ScheduleSettings::kEntries> m_programs;
    std::array<DelayRow, ScheduleSettings::kEntries - 1> m_delays;
    std::array<StepperField, std::size(steps::kSteppers)> m_steppers;
    nerubato::WindowMode m_windowMode = nerubato::WindowMode::Create;
    // The file chooser is open: the editor stays disabled whatever the slot
    // chooser does.
    bool m_browsing = false;
};

} // namespace nerubato
