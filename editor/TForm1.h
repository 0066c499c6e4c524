#pragma once

#include "editor/Form1Parts.h"
#include "editor/RecordBinding.h"
#include "settings/ScheduleSettings.h"
#include "ui/Placement.h"
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
class Platform;

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
    ScheduleSettings settings() const { return m_record.read(); }
    // Only the states change; the rules wait for EnableAll or a mouse release.
    void setSettings(const ScheduleSettings &s) { m_record.write(s); }

    // The enabling rules: each sets its dependants' enabled state from the
    // checked state of its sources, and touches nothing else. A mouse button
    // released on a source, or a key that changed it, runs its rule.
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
    void bringToFront() { nerubato::bringToFront(this); }

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
    void connectRuleSources();
    void makeSteppedFields();

    Platform &m_platform;
    std::unique_ptr<Ui::TForm1> ui;
    Form1Rows m_rows;
    RecordBinding m_record;
    nerubato::WindowMode m_windowMode = nerubato::WindowMode::Create;
    // The file chooser is open: the editor stays disabled whatever the slot
    // chooser does.
    bool m_browsing = false;
};

} // namespace nerubato
