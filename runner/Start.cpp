#include "Start.h"

#include "Records.h"
#include "runner/core/NextStart.h"
#include "runner/core/Report.h"
#include "runner/core/Texts.h"
#include "settings/Cp932.h"
#include "settings/Errors.h"
#include "settings/RunnerContract.h"

namespace nerubato::runner {

namespace {

// A start that goes no further: told in the history, and in the report
// unless it only stands aside for another runner's.
Start conclude(Start &start, Result result, const QByteArray &conditions)
{
    RunRecord &r = start.record;
    r.result = result;
    r.reportedAt = start.at;
    r.conditions = conditions;
    if (r.reason.isEmpty())
        r.reason = cp932::decode(conditions);
    account(start.folder, r, start.block,
            result == Result::AlreadyRunning ? ReportWrite::UnlessThere : ReportWrite::Yes);
    return std::move(start);
}

QByteArray failed(const Error &e)
{
    return inCp932(e.text());
}

} // namespace

Start prepare(const StartFolder &folder, const QDateTime &now)
{
    Start start;
    start.folder = folder;
    start.at = now;
    RunRecord &r = start.record;
    r.startedAt = now;
    r.ending = noEndingText();
    start.lock = std::make_unique<RunLock>(folder.path());
    try {
        // Taken even by a runner that goes no further: left behind, it would
        // have the next real start skip its conditions.
        start.marker = folder.takeSkipMarker();
    } catch (const Error &e) {
        r.marker = true;
        r.next = noNextStartLine(e.text());
        return conclude(start, Result::FileError, failed(e));
    }
    r.marker = start.marker;
    std::optional<Lines> lines;
    try {
        lines = folder.readRegistration();
    } catch (const Error &e) {
        r.next = noNextStartLine(e.text());
        return conclude(start, Result::FileError, failed(e));
    }
    // Whatever stops the start, the programs set are named.
    r.programs = notStarted(lines.value_or(Lines()));
    auto read = readPlan(lines.value_or(Lines()));
    Plan *plan = std::get_if<Plan>(&read);
    if (plan) {
        r.dayOnRecord = folder.readLastRunDay();
        r.next = nextStartLine(*plan, now, r.dayOnRecord);
        if (dayRecord(*plan, false) != DayRecord::Never)
            r.day = start.marker ? DayOutcome::TestRun : DayOutcome::Untouched;
    } else {
        r.next =
            noNextStartLine(lines ? QStringLiteral("%1 に誤りがあります").arg(kRegistrationFile)
                                  : QStringLiteral("設定データが登録されていません"));
    }
    if (start.lock->refused())
        return conclude(start, Result::AlreadyRunning, alreadyRunningText());
    if (!lines)
        return conclude(start, Result::NotRegistered, notRegisteredText());
    if (!plan)
        return conclude(start, Result::Damaged, damageText(std::get<Damage>(read)));
    start.decision = decide(*plan, now, r.dayOnRecord, start.marker);
    r.conditions = conditionsText(*plan, start.decision, now);
    r.reason = reasonText(*plan, start.decision, now);
    r.endAction = endAction(*plan);
    if (start.decision.verdict != Verdict::Run && start.decision.verdict != Verdict::Wait)
        return conclude(start, Result::ConditionsNotMet, r.conditions);
    start.plan = std::move(*plan);
    return start;
}

Sequel sequel(const Start &start)
{
    if (start.plan)
        return Sequel::Run;
    const bool tell =
        start.marker ? !start.record.reportError.isEmpty() : !failures(start.record).isEmpty();
    return tell ? Sequel::Tell : Sequel::None;
}

} // namespace nerubato::runner
