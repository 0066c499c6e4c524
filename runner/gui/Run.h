#pragma once

#include "Programs.h"
#include "platform/Platform.h"
#include "runner/Records.h"
#include "runner/Start.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace nerubato::runner {

class FailureWindow;
class RunnerWindow;

// One run of the registered schedule once its conditions hold: the wait for a
// timer start, the countdown, the programs in their order, the day on record,
// the end of Windows; each told, as it happens, in the start's record (the
// report once, the history as it goes) and any failure at a real start in a
// window of its own. The rules decide and the core's texts speak; this
// follows the clock, the programs and the user's presses.
class Run : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;
    static constexpr int kTickInterval = 250;
    static constexpr int kEndSeconds = 60;

    Run(Platform &platform, Clock clock, Start start, QObject *parent = nullptr);
    ~Run() override;

    // Shows the waiting window or the countdown; finished() follows when
    // nothing is left to do.
    void begin();
    // The clock and the programs looked at: every kTickInterval ms.
    void tick();

signals:
    void finished();

private:
    enum class Phase { Waiting, Countdown, Programs, EndWait, Asking, EndCountdown, Idle, Done };

    void startCountdown(const QDateTime &now);
    bool countDown(const QDateTime &now);
    void cancel();
    void startPrograms(const QDateTime &now);
    void followPrograms(const QDateTime &now);
    void report(Result result, const QDateTime &now);
    void tell(ReportWrite report = ReportWrite::No);
    void awaitEnd(const QDateTime &now);
    void beginEnd(const QDateTime &now);
    void endWindows(const QDateTime &now);
    void endAs(EndOutcome end, const QDateTime &now);
    bool busy() const;
    void finish();

    Platform &m_platform;
    Clock m_clock;
    Start m_start;
    const Plan &m_plan;
    RunRecord &m_record;
    Phase m_phase = Phase::Waiting;
    QTimer m_timer;

    QByteArray m_word;
    Programs m_programs;
    std::unique_ptr<RunnerWindow> m_window;
    std::unique_ptr<FailureWindow> m_failureWindow;
    QDateTime m_deadline; // of the timer's wait
    Countdown m_countdown;
    EndTimes m_endTimes;
    bool m_reported = false;
    bool m_dayDone = false;
};

} // namespace nerubato::runner
