#pragma once

#include "editor/Form1Parts.h"
#include "editor/RecordBinding.h"
#include "settings/ScheduleSettings.h"
#include "settings/StartFolder.h"
#include "ui/Modes.h"
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
// SettingsLines, the start directory and BrowseTarget. What it asks of the other
// windows it says through its signals; what hozon_Btn does, it reads from
// the main window's mode.
class TForm1 : public QWidget, public SettingsTarget
{
    Q_OBJECT

public:
    TForm1(Platform &platform, const StartFolder &folder, QWidget *parent = nullptr);
    ~TForm1() override;

    void FormCreate();
    // At program end, before the windows go.
    void FormDestroy();

    void setWindowModeSource(const WindowModeSource *mainWindow) { m_modeSource = mainWindow; }

    // SettingsTarget: the main window's view and the slot chooser's load.
    void loadLines(const Lines &lines) override;

    // The record as the controls show it.
    ScheduleSettings settings() const { return m_record.read(); }

    // SettingsTarget: every enabling rule at once (the main window's view).
    void EnableAll() override;

    // The editor's side of the main window's mode: caption, hozon_Btn and
    // yomidasi. (What hozon_Btn does it reads from the mode when pressed:
    // Create saves, any other value unregisters.)
    void presentMode(nerubato::WindowMode windowMode);
    void showFirstPage();
    void bringToFront() { nerubato::bringToFront(this); }

    // The slot chooser closed without loading.
    void slotChooserClosed();
    // The file chooser accepted a path for BrowseTarget's entry, or closed.
    void programPathChosen(const QString &path);
    void fileChooserClosed();

signals:
    // FormCreate applies the main window's mode.
    void windowModeWanted();
    // The save flow (with the lines to save) or the load flow (none).
    void slotChooserWanted(nerubato::SlotAction action, const nerubato::Lines &linesToSave);
    // The start directory could not be made current: no slot chooser may stay.
    void slotChooserDismissed();
    void fileChooserWanted();

private:
    // The record <-> the controls, through SettingsLines.
    void SettingsToLines();
    void LinesToSettings();

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

    // Storage flows (editor side).
    bool RestoreStartDirectory();
    void hozon_BtnClick();
    void yomidasiClick();
    void syuryo_BtnClick();

    // Entry 1..5: the browse button and the clear button of that row.
    void browse(int entry);
    void clearProgram(int entry);

    void connectRuleSources();
    void makeSteppedFields();

    Platform &m_platform;
    StartFolder m_folder; // StartDirectory: where the program started

    std::unique_ptr<Ui::TForm1> ui;
    Form1Rows m_rows;
    RecordBinding m_record;
    const WindowModeSource *m_modeSource = nullptr;
    Lines SettingsLines;
    quint8 BrowseTarget = 0;
    // The file chooser is open: the editor stays disabled whatever the slot
    // chooser does.
    bool m_browsing = false;
};

} // namespace nerubato
