#pragma once

#include "settings/ScheduleSettings.h"
#include "settings/StartFolder.h"
#include "ui/Modes.h"

#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class TForm2;
}

namespace nerubato {

class Platform;
class SettingsTarget;

// The slot chooser: one window serving both saving and loading. It is asked
// with what to do (SlotAction) and, to save, the lines; it keeps them for that
// flow only. A load reaches the editor through SettingsTarget; a close is
// told by a signal.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    TForm2(Platform &platform, const StartFolder &folder, QWidget *parent = nullptr);
    ~TForm2() override;

    void FormCreate();
    void setSettingsTarget(SettingsTarget *editor) { m_editor = editor; }

    // The editor's save flow (with the lines it composed) or load flow (none):
    // SetSlotPrompt, then shown and brought to the front.
    void open(nerubato::SlotAction action, const Lines &linesToSave);

    // "ファイル１" … "ファイル５" for the five slot files; empty for any other name.
    static QString SlotLabel(const QString &slotFileName);

signals:
    // Closed by an answer, cancel or the frame: the editor is enabled again
    // (unless its file chooser is open). Not after a load.
    void closedForEditor();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void SetSlotPrompt();
    void Button1Click() { slotChosen(1); }
    void Button2Click() { slotChosen(2); }
    void Button3Click() { slotChosen(3); }
    void Button4Click() { slotChosen(4); }
    void Button5Click() { slotChosen(5); }
    void cancel_BtnClick();
    void SaveToSlot(int slot);
    void LoadFromSlot(int slot);
    void slotChosen(int slot);
    void finish();

    Platform &m_platform;
    StartFolder m_folder;
    std::unique_ptr<Ui::TForm2> ui;
    SettingsTarget *m_editor = nullptr;
    nerubato::SlotAction SlotAction = nerubato::SlotAction::None;
    // What the save flow composed: a view loading the registration into the
    // editor meanwhile does not change what the chosen slot receives.
    Lines m_linesToSave;
};

} // namespace nerubato
