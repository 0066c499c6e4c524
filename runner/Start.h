#pragma once

#include "runner/core/Record.h"
#include "settings/StartFolder.h"
#include "system/FolderLocks.h"

#include <memory>
#include <optional>

namespace nerubato::runner {

// What the runner found at its start, in the folder it works in (its current
// directory), and what it has told of it so far.
struct Start
{
    StartFolder folder{QString()};
    QDateTime at;
    bool marker = false;
    std::unique_ptr<RunLock> lock;
    std::optional<Plan> plan; // with a decision to run now or later
    Decision decision;
    RunRecord record;
    QByteArray block; // this start's history block, as last written
};

// Takes the lock and the marker, reads the registration and the day on record
// and decides. Nothing here opens a window: when there is nothing to run, the
// report and the history are written and the start has no plan.
Start prepare(const StartFolder &folder, const QDateTime &now);

// What is left for the windowed part: nothing, the run, or telling of a
// failure (at a real start its window; a test run's report that could not
// be written, the error box).
enum class Sequel { None, Run, Tell };
Sequel sequel(const Start &start);

} // namespace nerubato::runner
