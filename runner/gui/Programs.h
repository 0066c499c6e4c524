#pragma once

#include "platform/Platform.h"
#include "runner/core/Record.h"

namespace nerubato::runner {

// The batch of programs once the countdown is over: each entry started when
// the rules say (dueEntries), watched until it ends, and what became of it
// written into the outcomes, which the record holds.
class Programs
{
public:
    Programs(Platform &platform, const Plan &plan, QByteArray word, ProgramOutcomes &outcomes);

    void start(const QDateTime &now);
    bool started() const { return m_startedAt.isValid(); }
    // The ends seen and the entries due started, at now.
    void follow(const QDateTime &now);
    const Batch &batch() const { return m_batch; }

private:
    void startEntry(int entry, const QDateTime &now);

    Platform &m_platform;
    const Plan &m_plan;
    QByteArray m_word;
    ProgramOutcomes &m_outcomes;
    QDateTime m_startedAt;
    Batch m_batch{};
    std::array<std::unique_ptr<Platform::Program>, ScheduleSettings::kEntries> m_programs;
};

} // namespace nerubato::runner
