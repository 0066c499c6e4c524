#pragma once

#include "Plan.h"

#include <QDateTime>
#include <QTime>

#include <array>
#include <optional>

// What the runner does with a registered schedule, as functions of the
// record, the time, the day on record and the marker: nothing here reads a
// file, a clock or a window.
namespace nerubato::runner {

enum class Verdict {
    Run,           // now
    Wait,          // until Decision::at (timer start later today)
    WrongDate,     // not the start date
    NoWeekday,     // weekdays asked for, none ticked
    WrongWeekday,  // today not ticked
    OutsideWindow, // immediate start outside its time window
    AlreadyRun,    // once a day, and it ran today
    TimerPassed,   // timer start whose time has gone by today
};

struct Decision
{
    Verdict verdict = Verdict::Run;
    QDateTime at;         // for Wait
    bool skipped = false; // conditions skipped for the marker
    bool operator==(const Decision &) const = default;
};

// The conditions at `now` (to the minute). With the marker every condition
// is skipped and the programs start at once.
Decision decide(const Plan &plan, const QDateTime &now, std::optional<QDate> lastRun, bool marker);

// Whether the day is to be recorded, and when: the once-a-day record is the
// real start's business, never a test run's.
enum class DayRecord { Never, WhenStarted, WhenAllEnded };
DayRecord dayRecord(const Plan &plan, bool marker);

// The reserved word: each "yymmdd" of text, found by whole CP932 characters
// (a trail byte 'y', 'm' or 'd' is part of its character), becomes word.
QByteArray replaceDateWord(const QByteArray &text, const QByteArray &word);
// The program a path names, as the Run box reads it: a path between double
// quotes (as Explorer's パスのコピー gives it) is the path inside them. A quote
// is never a CP932 trail byte, so the bytes can be looked at as they are.
QByteArray programPath(const QByteArray &path);
// A path or its arguments as run: each "yymmdd" replaced by word, the text as
// it stands when word is empty (the reserved word off).
inline QByteArray asRun(const QByteArray &text, const QByteArray &word)
{
    return word.isEmpty() ? text : replaceDateWord(text, word);
}
// What "yymmdd" stands for on a run that started on `day`; empty when the
// reserved word is off.
QByteArray dateWord(const Plan &plan, QDate day);

// Where each entry of the batch stands.
enum class Stage { Empty, Pending, Running, Ended, Failed };
struct EntryState
{
    Stage stage = Stage::Empty;
    QDateTime startedAt; // when it was started, or tried and failed
};
using Batch = std::array<EntryState, ScheduleSettings::kEntries>;

Batch newBatch(const Plan &plan);
// The pending entries to start now. An entry waits on the nearest entry above
// it that has a program (the batch's start stands in when there is none):
// without 独立実行 until that one has ended (at once when it did not start),
// with it until its delay has passed since that one was started.
QList<int> dueEntries(const Plan &plan, const Batch &batch, const QDateTime &batchStart,
                      const QDateTime &now);
bool allStarted(const Batch &batch);
bool allEnded(const Batch &batch);

// The end of Windows at the set time: the next syuryo2_Time after `from`
// (today, or tomorrow once it has passed), and when its warning of
// warningSeconds begins, so that the warning ends at that time. With less
// than the warning left, it begins at once and still lasts its length.
struct EndTimes
{
    QDateTime warnAt;
    QDateTime endAt;
    bool operator==(const EndTimes &) const = default;
};
EndTimes endTimes(const Plan &plan, const QDateTime &from, int warningSeconds);

// The once-a-day record as the batch goes. Only a program that started makes
// the day used: the day to write is the calendar date on which the first one
// started (a countdown may have crossed midnight). With no program started
// once the batch is over, the day stays free for another start.
enum class DayMove { Nothing, Write, LeaveFree };
struct DayStep
{
    DayMove move = DayMove::Nothing;
    QDate day;
    bool operator==(const DayStep &) const = default;
};
DayStep dayStep(DayRecord when, const Batch &batch);

// Whole seconds left until deadline, rounded up; 0 once it has come.
int secondsLeft(const QDateTime &now, const QDateTime &deadline);

// A countdown counts the time the runner saw pass. Two looks more than
// kClockJumpMs apart, or with the clock gone back, mean that the clock was set
// (as the time service may do just after the computer's start) or that the
// computer slept: the deadline moves by the gap, so a warning is never cut
// short, nor stretched by a clock set back.
inline constexpr qint64 kClockJumpMs = 5000;
QDateTime keptDeadline(const QDateTime &deadline, const QDateTime &lastLook, const QDateTime &now);

// A countdown to a deadline as the runner keeps it (keptDeadline), looked at
// once a tick: each look gives the seconds left when they have changed since
// the last, so that a window shows each second once.
class Countdown
{
public:
    Countdown() = default;
    Countdown(const QDateTime &now, const QDateTime &deadline)
        : m_deadline(deadline), m_lastLook(now)
    {
    }
    std::optional<int> look(const QDateTime &now);

private:
    QDateTime m_deadline;
    QDateTime m_lastLook;
    int m_shown = -1;
};

} // namespace nerubato::runner
