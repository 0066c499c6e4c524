#pragma once

// The whole program, for flows that cross windows.

#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "shell/Application.h"
#include "shell/TForm3.h"
#include "shell/WindowSet.h"
#include "storage/TForm2.h"
#include "testui.h"

#include <QApplication>

namespace nerubato::test {

// The whole program on a fake platform, in a fresh working directory; it ends
// as the program does, with the editor's end before the windows go. Its
// windows are found as a user finds them, by their names among the windows
// of the application (one program at a time).
struct Program : WindowSet::LinkHook
{
    WorkDir dir;
    FakePlatform platform;
    // Runs first in every link between windows, with its name (before the
    // windows: their creation runs links).
    std::function<void(const char *link)> onLink;
    WindowSet windows{platform, this};

    TForm3 &main() { return windows.mainWindow(); }
    TForm1 &editor() { return window<TForm1>("Form1"); }
    TForm2 &slotChooser() { return window<TForm2>("Form2"); }
    TsForm &files() { return window<TsForm>("sForm"); }
    ~Program() override { windows.end(); }

    void linkRuns(const char *link) override
    {
        if (onLink)
            onLink(link);
    }
    template <typename Window> static Window &window(const char *name)
    {
        QList<Window *> found;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *window = qobject_cast<Window *>(w); window && w->objectName() == name)
                found << window;
        }
        if (found.size() != 1)
            qFatal("%lld windows named %s", qlonglong(found.size()), name);
        return *found.first();
    }
};

} // namespace nerubato::test

// NERUBATO_TEST_MAIN on the program's own application object, made as main()
// makes it: what it sets up for every window is under test too.
#define NERUBATO_PROGRAM_TEST_MAIN(TestObject)                                                     \
    QTEST_MAIN_WRAPPER(TestObject, QTEST_QAPP_SETUP(nerubato::Application)                         \
                                       QTEST_DISABLE_KEYPAD_NAVIGATION                             \
                                           nerubato::test::DialogGuard dialogGuard;)
