#pragma once

// The program's four windows, for the picture tool and the benchmarks, found
// as a user finds them: by their names among the application's windows.

#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "shell/TForm3.h"
#include "storage/TForm2.h"

#include <QApplication>

struct Forms
{
    nerubato::Platform *platform = nullptr;
    nerubato::TForm3 *Form3 = nullptr;
    nerubato::TForm1 *Form1 = nullptr;
    nerubato::TForm2 *Form2 = nullptr;
    nerubato::TsForm *sForm = nullptr;

    // The windows of the one window set there is.
    static Forms found(nerubato::Platform &platform)
    {
        Forms forms{&platform};
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() == u"Form3")
                forms.Form3 = qobject_cast<nerubato::TForm3 *>(w);
            else if (w->objectName() == u"Form1")
                forms.Form1 = qobject_cast<nerubato::TForm1 *>(w);
            else if (w->objectName() == u"Form2")
                forms.Form2 = qobject_cast<nerubato::TForm2 *>(w);
            else if (w->objectName() == u"sForm")
                forms.sForm = qobject_cast<nerubato::TsForm *>(w);
        }
        return forms;
    }
};
