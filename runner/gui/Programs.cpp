#include "Programs.h"

#include "runner/core/Report.h"
#include "settings/Cp932.h"

namespace nerubato::runner {

Programs::Programs(Platform &platform, const Plan &plan, QByteArray word, ProgramOutcomes &outcomes)
    : m_platform(platform), m_plan(plan), m_word(std::move(word)), m_outcomes(outcomes)
{
}

void Programs::start(const QDateTime &now)
{
    m_startedAt = now;
    m_batch = newBatch(m_plan);
    follow(now);
}

void Programs::follow(const QDateTime &now)
{
    for (int i = 0; i < ScheduleSettings::kEntries; ++i) {
        if (m_batch[i].stage == Stage::Running && m_programs[i]->hasEnded()) {
            m_batch[i].stage = Stage::Ended;
            // A document handed over has no end of its own to tell.
            if (const std::optional<int> code = m_programs[i]->exitCode()) {
                m_outcomes[i].endedAt = now;
                m_outcomes[i].exitCode = *code;
            }
            m_programs[i].reset();
        }
    }
    // An entry started now may be what the next one waits for.
    for (QList<int> due; !(due = dueEntries(m_plan, m_batch, m_startedAt, now)).isEmpty();) {
        for (int entry : due)
            startEntry(entry, now);
    }
}

void Programs::startEntry(int entry, const QDateTime &now)
{
    const QByteArray path = asRun(m_plan.record.jikko_Path[entry], m_word);
    const QByteArray arguments = asRun(m_plan.record.sw_Args[entry], m_word);
    Platform::Started started =
        m_platform.startProgram(cp932::decode(programPath(path)), cp932::decode(arguments));
    m_batch[entry].startedAt = now;
    m_batch[entry].stage = started.program ? Stage::Running : Stage::Failed;
    ProgramOutcome &outcome = m_outcomes[entry];
    outcome.commandLine = commandLine(path, arguments);
    outcome.at = now;
    outcome.kind = started.program ? ProgramOutcome::Kind::Started : ProgramOutcome::Kind::Failed;
    outcome.reason = started.error;
    m_programs[entry] = std::move(started.program);
}

} // namespace nerubato::runner
