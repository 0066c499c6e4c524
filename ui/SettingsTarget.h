#pragma once

#include "settings/ScheduleSettings.h"

namespace nerubato {

// The editor as the windows that load settings into it see it: the main
// window's view and the slot chooser's load.
class SettingsTarget
{
public:
    virtual ~SettingsTarget() = default;
    // SettingsLines := lines, then LinesToSettings(); throws as that does.
    virtual void loadLines(const Lines &lines) = 0;
    virtual void EnableAll() = 0;
};

} // namespace nerubato
