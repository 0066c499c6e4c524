#pragma once

#include "Rules.h"

#include <QStringList>

// The report errormsg.txt, as lines of CP932: what happened, composed from
// values only. The tool shows lines 1 to 7; the rest are for the curious.
//   1 the result and the time
//   2 the conditions (met, which one failed, skipped for a test run)
//   3-7 programs 1 to 5
//   8 the end of Windows
//   9... anything else worth knowing
namespace nerubato::runner {

enum class Result {
    Started,          // every program set was started
    SomeFailed,       // one or more could not be started
    NothingSet,       // the conditions held, but no entry has a program
    ConditionsNotMet,
    Cancelled,        // 中止 before the programs
    Damaged,
    NotRegistered,
    FileError,        // a file of the run could not be read or removed
    AlreadyRunning,   // another runner holds the directory
};

struct ProgramOutcome
{
    enum class Kind { NotSet, NotStarted, Started, Failed };
    Kind kind = Kind::NotSet;
    QTime at;
    QByteArray commandLine; // the path as run, then its arguments
    QString reason;         // why it could not start
};
using ProgramOutcomes = std::array<ProgramOutcome, ScheduleSettings::kEntries>;

struct RunOutcome
{
    Result result = Result::Started;
    QDateTime at;
    QByteArray conditions; // line 2 after its caption
    ProgramOutcomes programs;
    QString ending;        // line 8 after its caption
    QStringList notes;
};

// Line 2's text for a decision taken at now.
QByteArray conditionsText(const Plan &plan, const Decision &decision, const QDateTime &now);
// Line 2's text for a registration that cannot be carried out.
QByteArray damageText(const Damage &damage);
QByteArray notRegisteredText();
QByteArray alreadyRunningText();
// How an entry is labelled, as in the editor: ＰＧＭ１, ＰＧＭ2 ...
QString programLabel(int entry);
// What the end of Windows does: "コンピュータの電源を切れる状態にします" or the restart.
QString endAction(const Plan &plan);
// Line 8's text. canEnd: whether this build may end the computer at all.
QString endingText(const Plan &plan, bool canEnd, bool marker);
QString noEndingText();

// What the report says of the once-a-day record: written (on `written`, or
// failing with `error`), to be written later, or left alone by a test run.
QStringList dayNotes(const Plan &plan, bool marker, const QDate &written, const QString &error);

// The program's path and arguments as one text, as the report shows them.
QByteArray commandLine(const QByteArray &path, const QByteArray &arguments);
// Each entry not started, or not set.
ProgramOutcomes notStarted(const Plan *plan);

Lines reportLines(const RunOutcome &outcome);

} // namespace nerubato::runner
