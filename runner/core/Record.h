#pragma once

#include "Rules.h"

#include <QStringList>

// Everything one start of the runner did, as its report, its history block
// and its failure window tell it: filled in by the start and by the run as
// they go, told by the pure functions of Report.h and History.h.
namespace nerubato::runner {

enum class Result {
    Started,    // every program set was started
    SomeFailed, // one or more could not be started
    NothingSet, // the conditions held, but no entry has a program
    ConditionsNotMet,
    Cancelled, // 中止 before the programs
    Damaged,
    NotRegistered,
    FileError,      // a file of the run could not be read or removed
    AlreadyRunning, // another runner holds the directory
};

struct ProgramOutcome
{
    enum class Kind { NotSet, NotStarted, Started, Failed };
    Kind kind = Kind::NotSet;
    QDateTime at;           // started, or tried
    QByteArray commandLine; // the path as run, then its arguments
    QString reason;         // why it could not start
    QDateTime endedAt;      // seen to end, when the run waited for it
    int exitCode = 0;
};
using ProgramOutcomes = std::array<ProgramOutcome, ScheduleSettings::kEntries>;

// The once-a-day record, as this start leaves it.
enum class DayOutcome {
    None,      // not a once-a-day schedule, or none read
    Untouched, // this start ran nothing: the day on record stays as it was
    TestRun,   // a test run never touches it
    Pending,   // written when every program has ended
    Written,
    Failed,
    LeftFree, // no program started: the day stays free
};

// The end of Windows, as this start leaves it.
enum class EndOutcome {
    None,      // not set, or nothing ran
    Pending,   // still to come: line 8 tells what will happen
    Cancelled, // 中止 in the wait or the countdown
    Declined,  // a test run's question answered other than はい
    Ended,     // asked of the system
    Skipped,   // this build never ends the computer
    Failed,
};

struct RunRecord
{
    QDateTime startedAt; // the runner's start: the history block's first line
    bool marker = false;
    Result result = Result::Started;
    QDateTime reportedAt;  // line 1's moment
    QByteArray conditions; // line 2 after its caption
    QString reason;        // the conditions in the history's words
    ProgramOutcomes programs;
    QString ending;    // line 8 after its caption: what will happen
    QString endAction; // what the end does (a power off, a restart)
    EndOutcome end = EndOutcome::None;
    QDateTime endAt; // when the end was asked for, or called off
    DayOutcome day = DayOutcome::None;
    std::optional<QDate> dayOnRecord; // as read at the start, or as written
    QString dayError;
    QString next;         // the 次回 line
    QStringList troubles; // records that could not be written, and why
    QString reportError;  // the report's, as the system says it
};

} // namespace nerubato::runner
