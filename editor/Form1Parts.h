#pragma once

// The parts of the editor that are tables of its controls.

#include "editor/RecordBinding.h"
#include "settings/ScheduleSettings.h"

#include <array>

class QCheckBox;
class QObject;
class QPushButton;

namespace Ui {
class TForm1;
}

namespace nerubato {

// The editor's repetitive rows of controls, taken from the form once.
struct Form1Rows
{
    struct Program
    {
        ByteEdit *path;
        ByteEdit *args;
        QPushButton *browse;
        QPushButton *clear;
    };
    // Programs 2 to 5 may run on their own after a delay.
    struct Delay
    {
        QCheckBox *independent;
        ByteEdit *minutes;
        QWidget *stepper;
    };
    std::array<QCheckBox *, 7> weekdays; // Sunday first
    std::array<Program, ScheduleSettings::kEntries> programs;
    std::array<Delay, ScheduleSettings::kEntries - 1> delays;
};
Form1Rows rowsOf(Ui::TForm1 &ui);

// Each field of the record, its control and its kind; the radio groups made
// as button groups whose ids are the choices, children of owner.
RecordBinding bindRecord(Ui::TForm1 &ui, const Form1Rows &rows, QObject *owner);

// What a screen reader announces: each field and button by what it holds, in
// the editor's own words, where its caption alone would not tell it from its
// neighbours. Nothing shown changes.
void nameForAssistiveTechnology(Ui::TForm1 &ui, const Form1Rows &rows);

} // namespace nerubato
