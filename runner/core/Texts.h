#pragma once

#include "Record.h"

#include <QStringList>

// What the runner's windows say, and the texts they share with the report.
namespace nerubato::runner {

// How an entry is labelled, as in the editor: ＰＧＭ１, ＰＧＭ2 ...
QString programLabel(int entry);
// What the end of Windows does: "コンピュータの電源を切れる状態にします" or the restart.
QString endAction(const Plan &plan);
// Line 8's text. canEnd: whether this build may end the computer at all.
QString endingText(const Plan &plan, bool canEnd, bool marker);
QString noEndingText();

// The programs about to start, one line each, with word put for "yymmdd".
QString programList(const Plan &plan, const QByteArray &word);
QString waitingText(const Plan &plan);
QString countdownText();
QString countdownSeconds(int left);
// The wait for the end of Windows, at the set time (endAt) or after all.
QString endWaitText(const Plan &plan, const QDateTime &endAt);
QString endCountdownText(const Plan &plan);
QString endSeconds(int left);
// A test run's question before the end of Windows.
QStringList endQuestion(const Plan &plan);

// Each failure of a start that its user has to hear of: a program that could
// not start (and on a line of its own, what it was), a record that could not
// be written. Empty when there is none.
QStringList failures(const RunRecord &record);
// The failure window's text: the failures, and where the history is.
QString failureText(const QStringList &failures, const QString &historyPath);

} // namespace nerubato::runner
