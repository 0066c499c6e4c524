#pragma once

#include "settings/ScheduleSettings.h"
#include "ui/Modes.h"

#include <QString>

namespace nerubato {

// The editor as the other windows see it: the main window's view and the
// slot chooser's flows load into it, and the slot chooser reads and writes
// the slot state the editor owns.
class SettingsTarget
{
public:
    virtual ~SettingsTarget() = default;
    // SettingsLines := lines, then LinesToSettings(); throws as that does.
    virtual void loadLines(const Lines &lines) = 0;
    virtual void EnableAll() = 0;

    virtual nerubato::SlotAction slotAction() const = 0;
    virtual QString slotFileName() const = 0;
    virtual void setSlotFileName(const QString &fileName) = 0;
};

} // namespace nerubato
