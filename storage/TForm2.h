#pragma once

#include "settings/ScheduleSettings.h"
#include "shell/Forms.h"

#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class TForm2;
}

namespace nerubato {

// The slot chooser: one window serving both saving and loading; what it does
// with a slot is the editor's SlotAction at the moment the slot is picked.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm2(Forms &forms, QWidget *parent = nullptr);
    ~TForm2() override;

    void FormCreate();

    void SetSlotPrompt();
    void Button1Click() { slotChosen(1); }
    void Button2Click() { slotChosen(2); }
    void Button3Click() { slotChosen(3); }
    void Button4Click() { slotChosen(4); }
    void Button5Click() { slotChosen(5); }
    void cancel_BtnClick();
    void SaveToSlot();
    void LoadFromSlot();
    // The lines the next SaveToSlot writes, set by the save flow.
    void holdLinesToSave(const Lines &lines);

    // "ファイル１" … "ファイル５" for the five slot files; empty for any other name.
    static QString SlotLabel(const QString &slotFileName);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void slotChosen(int slot);
    void finish();
    void enableEditor();

    std::unique_ptr<Ui::TForm2> ui;
    Forms &m_forms;
    Lines m_linesToSave;
};

} // namespace nerubato
