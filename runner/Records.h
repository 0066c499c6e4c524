#pragma once

#include "runner/core/Record.h"
#include "settings/StartFolder.h"

namespace nerubato::runner {

enum class ReportWrite {
    No,
    Yes,
    // A runner that stops because another runs in the folder leaves the
    // other's report as it is.
    UnlessThere,
};

// Tells the start as its record has it: its block in the history (in place
// of block, as last written, which becomes the new one) and, when asked, the
// report, under the folder's records lock that every runner takes. A record
// that cannot be written stops nothing: it is told in the others and joins
// record.troubles (the report's error also in record.reportError).
void account(const StartFolder &folder, RunRecord &record, QByteArray &block, ReportWrite report);

// The once-a-day record as the batch has decided it: the day written (a
// failure stops no program), or left free, and told in the record.
void keepDay(const StartFolder &folder, RunRecord &record, const DayStep &step);

} // namespace nerubato::runner
