#pragma once

#include "shell/Forms.h"

#include <memory>

namespace nerubato {

// The four windows, created once each in the program's order, owned here and
// destroyed at the end in reverse order.
class WindowSet
{
public:
    explicit WindowSet(Platform &platform);
    ~WindowSet();
    WindowSet(const WindowSet &) = delete;
    WindowSet &operator=(const WindowSet &) = delete;

    Forms &forms() { return m_forms; }

private:
    Forms m_forms;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TsForm> m_sForm;
};

} // namespace nerubato
