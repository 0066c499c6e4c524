#include "Start.h"

#include "runner/core/Report.h"
#include "settings/Cp932.h"
#include "settings/Errors.h"
#include "settings/RunnerContract.h"

namespace nerubato::runner {

namespace {

void report(const StartFolder &folder, const QDateTime &now, Result result,
            const QByteArray &conditions, const Plan *plan = nullptr)
{
    folder.writeReport(
        reportLines({result, now, conditions, notStarted(plan), noEndingText(), {}}));
}

} // namespace

Start prepare(const StartFolder &folder, const QDateTime &now)
{
    Start start;
    start.folder = folder;
    start.at = now;
    start.lock = std::make_unique<FileLock>(folder.lockFile());
    try {
        // Taken even by a runner that goes no further: left behind, it would
        // have the next real start skip its conditions.
        start.marker = folder.takeSkipMarker();
    } catch (const Error &e) {
        report(folder, now, Result::FileError, cp932::encode(e.text()).value_or(QByteArray()));
        return start;
    }
    if (start.lock->refused()) {
        report(folder, now, Result::AlreadyRunning, alreadyRunningText());
        return start;
    }
    if (!folder.isRegistered()) {
        report(folder, now, Result::NotRegistered, notRegisteredText());
        return start;
    }
    Lines lines;
    try {
        lines = folder.readRegistration().value_or(Lines());
    } catch (const Error &e) {
        report(folder, now, Result::FileError, cp932::encode(e.text()).value_or(QByteArray()));
        return start;
    }
    auto read = readPlan(lines);
    if (const Damage *damage = std::get_if<Damage>(&read)) {
        report(folder, now, Result::Damaged, damageText(*damage));
        return start;
    }
    Plan &plan = std::get<Plan>(read);
    start.decision = decide(plan, now, folder.readLastRunDay(), start.marker);
    if (start.decision.verdict != Verdict::Run && start.decision.verdict != Verdict::Wait) {
        report(folder, now, Result::ConditionsNotMet, conditionsText(plan, start.decision, now), &plan);
        return start;
    }
    start.plan = std::move(plan);
    return start;
}

} // namespace nerubato::runner
