#pragma once

namespace nerubato {

class Platform;
class TForm1;
class TForm2;
class TForm3;
class TsForm;

// How the four windows reach each other. Filled in as the windows are created,
// each pointer before that window's creation handler runs; never reassigned.
struct Forms
{
    Platform *platform = nullptr;
    TForm3 *Form3 = nullptr;
    TForm1 *Form1 = nullptr;
    TForm2 *Form2 = nullptr;
    TsForm *sForm = nullptr;
};

} // namespace nerubato
