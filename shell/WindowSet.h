#pragma once

#include <functional>
#include <memory>

namespace nerubato {

class Platform;
class TForm1;
class TForm2;
class TForm3;
class TsForm;

// The four windows, for those above them: the program, its tools and tests.
struct Forms
{
    Platform *platform = nullptr;
    TForm3 *Form3 = nullptr;
    TForm1 *Form1 = nullptr;
    TForm2 *Form2 = nullptr;
    TsForm *sForm = nullptr;
};

// Creates the four windows, each once, in the program's order: the main
// window, the editor, the slot chooser, the file chooser. Then it connects
// them, once, and runs their creation handlers in the same order. The windows
// know nothing of each other; every way one window's action ends in another's
// is made here.
class WindowSet
{
public:
    explicit WindowSet(Platform &platform);
    ~WindowSet();
    WindowSet(const WindowSet &) = delete;
    WindowSet &operator=(const WindowSet &) = delete;

    Forms &forms() { return m_forms; }

    // The program's end, while every window is still there: the editor's
    // FormDestroy (which restores the start directory and may say it failed).
    void end();

    // Runs first in every handler that one window's signal reaches in
    // another, with the link's name: an error thrown there, as anywhere in
    // such a handler, ends in the general error box and never crosses the
    // signal's emission. For tests.
    std::function<void(const char *link)> onLink;

private:
    void connectWindows();
    template <typename Sender, typename Signal, typename Receiver, typename Handler>
    void link(const char *name, Sender *sender, Signal signal, Receiver *receiver,
              Handler handler);

    Platform &m_platform;
    Forms m_forms;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TsForm> m_sForm;
    bool m_ended = false;
};

} // namespace nerubato
