#pragma once

#include "editor/core/Steps.h"
#include "settings/ScheduleSettings.h"
#include "shell/Forms.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QPushButton;

namespace Ui {
class TForm1;
}

namespace nerubato {

class ByteEdit;
class MouseUpCheckBox;
class Stepper;

// The settings editor. Its controls are the schedule being edited.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm1(Forms &forms, QWidget *parent = nullptr);
    ~TForm1() override;

    void FormCreate();
    void FormDestroy();

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
    void EnableAll();

    // The editor's side of the main window's mode: caption, hozon_Btn, yomidasi.
    void presentMode(quint8 windowMode);
    void showFirstPage();

    // Entry 1..5: the chooser's accept writes the path box here.
    void setProgramPath(int entry, const QString &path);
    // Entry 1..5: the clear button of that row.
    void clearProgram(int entry);

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
    quint8 SlotAction = 0;
    QString SlotFileName;
    quint8 BrowseTarget = 0;

protected:
    void showEvent(QShowEvent *event) override;

    Forms &m_forms;

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
    // A handler whose errors reach the general error box.
    std::function<void()> guardedHandler(std::function<void()> handler);

    std::unique_ptr<Ui::TForm1> ui;
    std::array<QCheckBox *, 7> m_weekdays; // Sunday first
    std::array<ProgramRow, ScheduleSettings::kEntries> m_programs;
    std::array<DelayRow, ScheduleSettings::kEntries - 1> m_delays;
    std::array<StepperField, 11> m_steppers;
    bool m_placed = false;
};

} // namespace nerubato
