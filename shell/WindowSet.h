#pragma once

#include "settings/StartFolder.h"

#include <memory>

namespace nerubato {

class Platform;
class TForm1;
class TForm2;
class TForm3;
class TsForm;

// Creates the four windows, each once, in the program's order: the main
// window, the editor, the slot chooser, the file chooser, all on the folder
// the program starts in. Then it connects them, once, and runs their creation
// handlers in the same order. The windows know nothing of each other; every
// way one window's action ends in another's is made here. Each window carries
// its given name (Form3, Form1, Form2, sForm) as its object name.
class WindowSet
{
public:
    // A seam for tests, and only that: told, first in every handler that one
    // window's signal reaches in another, which link runs, so that a test can
    // throw there and see that nothing crosses the signal's emission.
    class LinkHook
    {
    public:
        virtual ~LinkHook() = default;
        virtual void linkRuns(const char *link) = 0;
    };

    explicit WindowSet(Platform &platform, LinkHook *hook = nullptr);
    ~WindowSet();
    WindowSet(const WindowSet &) = delete;
    WindowSet &operator=(const WindowSet &) = delete;

    TForm3 &mainWindow() { return *m_form3; }

    // The program's end, while every window is still there: the editor's
    // FormDestroy (which may say the start directory has gone).
    void end();

private:
    void connectWindows();
    template <typename Sender, typename Signal, typename Receiver, typename Handler>
    void link(const char *name, Sender *sender, Signal signal, Receiver *receiver,
              Handler handler);

    Platform &m_platform;
    LinkHook *m_hook;
    StartFolder m_folder;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TsForm> m_sForm;
    bool m_ended = false;
};

} // namespace nerubato
