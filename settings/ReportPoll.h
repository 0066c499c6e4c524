#pragma once

#include <QtGlobal>

namespace nerubato {

class StartFolder;

// The test run's wait for the runner's report, driven by the main window's
// timer one tick at a time: the ticks counted, the report found (then read
// once by the window), the wait given up after 100 ticks, and the interval
// the timer is to run at, 800 ms while waiting and practically idle after.
class ReportPoll
{
public:
    static constexpr int kPollInterval = 800;
    static constexpr int kIdleInterval = 36000000; // ten hours
    static constexpr int kGiveUpAfterTicks = 100;

    // A test run: the wait begins, or begins again.
    void begin();
    // One tick. True when the report is there: the wait is then over, and
    // the timer idle, before the report is read, so that no tick runs while
    // it is shown.
    bool tick(const StartFolder &folder);
    // Then, report or not: past 100 ticks the wait gives up.
    void giveUpIfDue();

    bool waiting() const { return m_waiting == 1; }
    int interval() const { return m_interval; }

private:
    void end();

    quint8 m_waiting = 0;
    qint32 m_ticks = 0;
    int m_interval = kPollInterval;
};

} // namespace nerubato
