#include "ReportPoll.h"

#include "StartFolder.h"

namespace nerubato {

void ReportPoll::begin()
{
    m_waiting = 1;
    m_ticks = 0;
    m_interval = kPollInterval;
}

bool ReportPoll::tick(const StartFolder &folder)
{
    if (m_waiting != 1)
        return false;
    ++m_ticks;
    if (!folder.hasReport())
        return false;
    end();
    return true;
}

void ReportPoll::giveUpIfDue()
{
    if (m_ticks <= kGiveUpAfterTicks)
        return;
    end();
    m_ticks = 0;
}

void ReportPoll::end()
{
    m_waiting = 0;
    m_interval = kIdleInterval;
}

} // namespace nerubato
