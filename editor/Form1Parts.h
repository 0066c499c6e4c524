#pragma once

// The parts of the editor that are tables of its controls.

#include "editor/RecordBinding.h"

class QObject;

namespace Ui {
class TForm1;
}

namespace nerubato {

// Each field of the record, its control and its kind; the radio groups made
// as button groups whose ids are the choices, children of owner.
RecordBinding bindRecord(Ui::TForm1 &ui, QObject *owner);

// What a screen reader announces: each field and button by what it holds, in
// the editor's own words, where its caption alone would not tell it from its
// neighbours. Nothing shown changes.
void nameForAssistiveTechnology(Ui::TForm1 &ui);

} // namespace nerubato
