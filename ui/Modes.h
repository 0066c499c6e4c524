#pragma once

#include <QtGlobal>

namespace nerubato {

// The main window's mode: create and register, or view and unregister. It is
// stored as the byte it always was; any value other than 1 counts as View.
enum class WindowMode : quint8 { Create = 1, View = 2 };

// What the slot chooser does with a chosen slot, as the editor asks it.
enum class SlotAction : quint8 { None = 0, Save = 1, Load = 2 };

// The main window's mode as the editor reads it when its save button is
// pressed: one mode, kept by the main window.
class WindowModeSource
{
public:
    virtual ~WindowModeSource() = default;
    virtual WindowMode windowMode() const = 0;
};

} // namespace nerubato
