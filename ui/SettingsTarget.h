#pragma once

#include "settings/ScheduleSettings.h"


namespace nerubato {

// The editor as the other windows see it: the main window's view and the
// slot chooser's load put lines into it.
class SettingsTarget
{
public:
    virtual ~SettingsTarget() = default;
    // SettingsLines := lines, then LinesToSettings(); throws as that does.
    virtual void loadLines(const Lines &lines) = 0;
    virtual void EnableAll() = 0;
};

} // namespace nerubato
