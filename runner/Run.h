#pragma once

#include "Start.h"
#include "runner/core/Report.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace nerubato::runner {

class RunnerWindow;

// One run of the registered schedule once its conditions hold: the wait for a
// timer start, the countdown, the programs in their order, the report, the
// day on record, the end of Windows. The rules decide; this follows the
// clock, the programs and the user's presses, and shows one small window.
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

    RunnerWindow &window();
    void present(bool onTop, bool minimized = false, bool minimizeWhenShown = false);
    QString programList() const;
    QByteArray asRun(const QByteArray &text) const;

    void startCountdown(const QDateTime &now);
    bool countDown(const QDateTime &now);
    void runNow();
    void cancel();
    void startPrograms(const QDateTime &now);
    void followPrograms(const QDateTime &now);
    void startEntry(int entry, const QDateTime &now);
    void report(Result result, const QDateTime &now);
    void recordDay();
    bool dayPending() const;
    void awaitEnd(const QDateTime &now);
    bool endIsDue(const QDateTime &now) const;
    void beginEnd();
    void finish();

    Platform &m_platform;
    Clock m_clock;
    Start m_start;
    const Plan &m_plan;
    Phase m_phase = Phase::Waiting;
    std::unique_ptr<RunnerWindow> m_window;
    QTimer m_timer;

    QDateTime m_deadline;
    QDateTime m_lastLook;
    int m_shownSeconds = -1;
    QByteArray m_word;
    QDateTime m_batchStart;
    Batch m_batch{};
    std::array<std::unique_ptr<Platform::Program>, ScheduleSettings::kEntries> m_programs;
    ProgramOutcomes m_outcomes;
    bool m_reported = false;
    QDate m_dayWritten;
    QString m_dayError;
};

} // namespace nerubato::runner
