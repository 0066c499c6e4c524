#pragma once

#include "Record.h"

// The history jikkorireki.txt beside the report: every start of the runner,
// one block each, newest last, CP932 lines ended by CR LF. A block opens with
// a line that begins with the start's moment, "yyyy/mm/dd hh:mm:ss", and no
// other line of it begins so; blocks are parted by an empty line.
namespace nerubato::runner {

inline constexpr int kHistoryStarts = 200;
inline constexpr qsizetype kHistoryBytes = qsizetype(1) << 20;

// This start's block: the outcome and its reason, each program set (started
// when, as run, or why not; when a program the run waited for ended, and its
// exit code when that is not 0), the day on record, the end of Windows, the
// next start, and any record that could not be written.
QByteArray historyBlock(const RunRecord &record);

// The history with block in place of previous (this start's block as it was
// last written, looked for from the newest), or after the newest when it is
// not there; then the oldest blocks dropped until no more than kHistoryStarts
// and kHistoryBytes remain, the new block always kept. What stands before
// the first block is no block and goes.
QByteArray withBlock(const QByteArray &history, const QByteArray &previous,
                     const QByteArray &block);

} // namespace nerubato::runner
