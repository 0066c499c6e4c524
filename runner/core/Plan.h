#pragma once

#include "settings/ScheduleSettings.h"

#include <QTime>

#include <array>
#include <variant>

namespace nerubato::runner {

// A line of the registration that is missing or not in its form. The runner
// never guesses at such a value: it starts nothing and names the line.
struct Damage
{
    int line = 0;
    QByteArray text; // the line as it stands; empty for a missing one
    bool missing = false;
    bool operator==(const Damage &) const = default;
};

// The registration read and checked. The text fields that the run uses are
// read into values; the others are never looked at (a value the editor keeps
// behind a disabled box stops no run).
struct Plan
{
    ScheduleSettings record;
    int month = 0, day = 0; // with kidobi_Flag
    QTime from, to;         // immediate start
    QTime timer;            // timer start
    QTime endAt;            // syuryo2
    int beepSeconds = 0;
    int messageSeconds = 0;
    std::array<int, ScheduleSettings::kEntries> delayMinutes{}; // entry 1's is always 0

    bool independent(int entry) const { return entry > 0 && record.dokuritu_Flag[entry - 1]; }
    bool hasProgram(int entry) const { return !record.jikko_Path[entry].isEmpty(); }
};

std::variant<Plan, Damage> readPlan(const Lines &lines);

} // namespace nerubato::runner
