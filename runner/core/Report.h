#pragma once

#include "Record.h"
#include "Texts.h"

// The report errormsg.txt, as lines of CP932, and the texts its lines share
// with the history. The tool shows lines 1 to 7; the rest are for the curious.
//   1 the result and the time
//   2 the conditions (met, which one failed, skipped for a test run)
//   3-7 programs 1 to 5
//   8 the end of Windows
//   9 the next start (次回:)
//   10... the once-a-day record, and any record that could not be written
namespace nerubato::runner {

// Line 2's text for a decision taken at now.
QByteArray conditionsText(const Plan &plan, const Decision &decision, const QDateTime &now);
// The same in the history's words, with today's value where it helps.
QString reasonText(const Plan &plan, const Decision &decision, const QDateTime &now);
// Line 2's text for a registration that cannot be carried out.
QByteArray damageText(const Damage &damage);
QByteArray notRegisteredText();
QByteArray alreadyRunningText();
// Line 1's text before its moment.
QString resultText(const RunRecord &record);
// What became of a program: 設定なし, started at hh:mm:ss, or why not.
QString programState(const ProgramOutcome &program);
// What the start did with the once-a-day record; empty when it has none.
QString dayLine(const RunRecord &record);

// A text for a record, which stays CP932: a character CP932 cannot hold (one
// in a system's message, perhaps) shows as "?".
QByteArray inCp932(const QString &text);
// Bytes read from a file, fit to stand in a record that stays CP932: a byte
// that is no part of a CP932 character shows as <XX>, in hex.
QByteArray shown(const QByteArray &bytes);
// Bytes of any length as a record shows them: as many whole characters as
// fit in maxBytes, then "..." when some were left out.
QByteArray headOf(const QByteArray &bytes, qsizetype maxBytes);
// The program's path and arguments as one text, as the report shows them.
QByteArray commandLine(const QByteArray &path, const QByteArray &arguments);
// The programs a registration's lines name (a path from its folder and file
// lines, and its arguments), each not started, from as many lines as there
// are: a damaged registration still names its programs.
ProgramOutcomes notStarted(const Lines &registration);

// The record once the run has its result: line 1 and its moment, what will
// become of Windows (ran: whether any program was started or tried; canEnd
// as endingText takes it), the next start.
void settle(RunRecord &record, const Plan &plan, Result result, const QDateTime &now, bool ran,
            bool canEnd);
// What the batch came to once every program set was started or tried.
Result batchResult(const Batch &batch);

Lines reportLines(const RunRecord &record);

} // namespace nerubato::runner
