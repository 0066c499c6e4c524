#pragma once

#include "platform/Platform.h"
#include "runner/core/Rules.h"
#include "settings/StartFolder.h"

#include <memory>
#include <optional>

namespace nerubato::runner {

// What the runner found at its start, in the folder it works in (its current
// directory).
struct Start
{
    StartFolder folder{QString()};
    QDateTime at;
    bool marker = false;
    std::unique_ptr<FileLock> lock;
    std::optional<Plan> plan; // with a decision to run now or later
    Decision decision;
};

// Takes the lock and the marker, reads the registration and the day on record
// and decides. Nothing here opens a window: when there is nothing to run, the
// report is written and the start has no plan. Throws Error when even the
// report cannot be written.
Start prepare(const StartFolder &folder, const QDateTime &now);

} // namespace nerubato::runner
