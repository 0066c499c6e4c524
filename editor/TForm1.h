#pragma once

#include "settings/ScheduleSettings.h"
#include "shell/Forms.h"

#include <QString>
#include <QWidget>

namespace nerubato {

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

    void EnableAll();

    // The editor's side of the main window's mode: caption, hozon_Btn, yomidasi.
    void presentMode(quint8 windowMode);
    void showFirstPage();

    // Entry 1..5: the chooser's accept writes the path box here.
    void setProgramPath(int entry, const QString &path);

    // Storage flows (editor side).
    bool RestoreStartDirectory();
    void hozon_BtnClick();
    void yomidasiClick();
    void syuryo_BtnClick();

    // Browse buttons: entry 1..5.
    void browse(int entry);

    Lines SettingsLines;
    QString StartDirectory;
    quint8 SlotAction = 0;
    QString SlotFileName;
    quint8 BrowseTarget = 0;

protected:
    Forms &m_forms;
};

} // namespace nerubato
