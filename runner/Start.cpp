#include "Start.h"

#include "runner/core/Report.h"
#include "settings/Cp932.h"
#include "settings/Errors.h"
#include "settings/RunnerContract.h"

namespace nerubato::runner {

namespace {

void report(const QDateTime &now, Result result, const QByteArray &conditions,
            const Plan *plan = nullptr)
{
    writeReport(reportLines({result, now, conditions, notStarted(plan), noEndingText(), {}}));
}

} // namespace

Start prepare(const QDateTime &now)
{
    Start start;
    start.at = now;
    start.lock = std::make_unique<FileLock>(kLockFile);
    try {
        // Taken even by a runner that goes no further: left behind, it would
        // have the next real start skip its conditions.
        start.marker = takeSkipMarker();
    } catch (const Error &e) {
        report(now, Result::FileError, cp932::encode(e.text()).value_or(QByteArray()));
        return start;
    }
    if (start.lock->refused()) {
        report(now, Result::AlreadyRunning, alreadyRunningText());
        return start;
    }
    if (!isRegistered()) {
        report(now, Result::NotRegistered, notRegisteredText());
        return start;
    }
    Lines lines;
    try {
        lines = readRegistration();
    } catch (const Error &e) {
        report(now, Result::FileError, cp932::encode(e.text()).value_or(QByteArray()));
        return start;
    }
    auto read = readPlan(lines);
    if (const Damage *damage = std::get_if<Damage>(&read)) {
        report(now, Result::Damaged, damageText(*damage));
        return start;
    }
    Plan &plan = std::get<Plan>(read);
    start.decision = decide(plan, now, readLastRunDay(), start.marker);
    if (start.decision.verdict != Verdict::Run && start.decision.verdict != Verdict::Wait) {
        report(now, Result::ConditionsNotMet, conditionsText(plan, start.decision, now), &plan);
        return start;
    }
    start.plan = std::move(plan);
    return start;
}

} // namespace nerubato::runner
