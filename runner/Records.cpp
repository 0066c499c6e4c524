#include "Records.h"

#include "runner/core/History.h"
#include "runner/core/Report.h"
#include "settings/Errors.h"
#include "settings/RunnerContract.h"
#include "system/FolderLocks.h"

namespace nerubato::runner {

namespace {

// Enough for a runner that writes now; more than a runner ever holds it.
constexpr int kRecordsWait = 3000;

// The history with block replaced by next; a failure joins the record's troubles.
bool writeHistory(const StartFolder &folder, RunRecord &record, QByteArray &block,
                  const QByteArray &next)
{
    if (next == block)
        return true;
    try {
        // Twice the bound: the head of what is read may be a block cut in two.
        folder.writeHistory(withBlock(folder.readHistory(2 * kHistoryBytes), block, next));
        block = next;
        return true;
    } catch (const Error &e) {
        const QString trouble =
            QStringLiteral("実行の記録 %1 を書けませんでした（%2）").arg(kHistoryFile, e.text());
        if (!record.troubles.contains(trouble))
            record.troubles << trouble;
        return false;
    }
}

} // namespace

void account(const StartFolder &folder, RunRecord &record, QByteArray &block, ReportWrite report)
{
    const QByteArray next = historyBlock(record);
    // Nothing new to tell: no lock taken, no file touched (a run tells at
    // each of its steps, and its last tick often has nothing new).
    if (report == ReportWrite::No && next == block)
        return;
    const RecordsLock hold(folder.path(), kHistoryFile, kRecordsWait);
    const bool told = writeHistory(folder, record, block, next);
    if (report == ReportWrite::No || (report == ReportWrite::UnlessThere && folder.hasReport()))
        return;
    try {
        folder.writeReport(reportLines(record));
    } catch (const Error &e) {
        record.reportError = e.text();
        record.troubles
            << QStringLiteral("報告 %1 を書けませんでした（%2）").arg(kReportFile, e.text());
        if (told)
            writeHistory(folder, record, block, historyBlock(record));
    }
}

void keepDay(const StartFolder &folder, RunRecord &record, const DayStep &step)
{
    record.day = DayOutcome::LeftFree;
    if (step.move != DayMove::Write)
        return;
    try {
        folder.writeRunDay(step.day);
        record.day = DayOutcome::Written;
        record.dayOnRecord = step.day;
    } catch (const Error &e) {
        record.day = DayOutcome::Failed;
        record.dayError = e.text();
    }
}

} // namespace nerubato::runner
