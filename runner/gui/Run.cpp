#include "Run.h"

#include "FailureWindow.h"
#include "RunnerWindow.h"
#include "runner/core/NextStart.h"
#include "runner/core/Report.h"
#include "runner/core/Texts.h"
#include "settings/Errors.h"
#include "ui/Handlers.h"
#include "ui/Placement.h"

namespace nerubato::runner {

Run::Run(Platform &platform, Clock clock, Start start, QObject *parent)
    : QObject(parent), m_platform(platform), m_clock(std::move(clock)), m_start(std::move(start)),
      m_plan(*m_start.plan), m_record(m_start.record), m_word(dateWord(m_plan, m_start.at.date())),
      m_programs(platform, m_plan, m_word, m_record.programs),
      m_window(std::make_unique<RunnerWindow>(platform)),
      m_failureWindow(std::make_unique<FailureWindow>(platform))
{
    m_timer.setInterval(kTickInterval);
    connectGuarded(m_platform, &m_timer, &QTimer::timeout, this, &Run::tick);
    connectGuarded(m_platform, m_window.get(), &RunnerWindow::runNowPressed, this, [this] {
        if (m_phase == Phase::Countdown)
            startPrograms(m_clock());
    });
    connectGuarded(m_platform, m_window.get(), &RunnerWindow::cancelPressed, this, &Run::cancel);
}

Run::~Run() = default;

void Run::begin()
{
    m_timer.start();
    tell(); // from now on the start is in the history, whatever comes
    if (m_start.decision.verdict != Verdict::Wait) {
        startCountdown(m_clock());
        return;
    }
    m_phase = Phase::Waiting;
    m_deadline = m_start.decision.at;
    m_window->present(RunnerWindow::Form::Waiting, waitingText(m_plan), programList(m_plan, m_word),
                      RunnerWindow::minimizing(m_plan.record));
}

void Run::tick()
{
    const QDateTime now = m_clock();
    m_failureWindow->expire(now);
    switch (m_phase) {
    case Phase::Waiting:
        if (now >= m_deadline)
            startCountdown(now);
        return;
    case Phase::Countdown:
        if (countDown(now))
            startPrograms(now);
        return;
    case Phase::Done:
        return;
    default:
        break;
    }
    if (m_programs.started())
        followPrograms(now);
    switch (m_phase) {
    case Phase::Programs:
        if (m_reported)
            awaitEnd(now);
        break;
    case Phase::EndWait:
        if (m_plan.record.syuryo_Mode == SyuryoMode::Syuryo1 ? allEnded(m_programs.batch())
                                                             : now >= m_endTimes.warnAt)
            beginEnd(now);
        break;
    case Phase::EndCountdown:
        if (countDown(now))
            endWindows(now);
        break;
    default:
        break;
    }
    if (m_phase == Phase::Idle && !busy())
        finish();
}

void Run::startCountdown(const QDateTime &now)
{
    m_phase = Phase::Countdown;
    m_countdown = Countdown(now, now.addSecs(m_plan.messageSeconds));
    m_window->present(RunnerWindow::Form::Countdown, countdownText(), programList(m_plan, m_word));
    countDown(now);
}

// Shows the seconds left, beeping in the last ones before the programs; true
// once the time is up.
bool Run::countDown(const QDateTime &now)
{
    const std::optional<int> left = m_countdown.look(now);
    if (!left)
        return false;
    const bool programs = m_phase == Phase::Countdown;
    m_window->showSeconds(programs ? countdownSeconds(*left) : endSeconds(*left));
    if (programs && *left > 0 && *left <= m_plan.beepSeconds)
        m_platform.messageBeep();
    return *left == 0;
}

// 中止: before the programs, nothing runs; after them, Windows is not ended.
void Run::cancel()
{
    const bool programs = m_phase == Phase::Waiting || m_phase == Phase::Countdown;
    if (!programs && m_phase != Phase::EndWait && m_phase != Phase::EndCountdown)
        return;
    m_window->hide();
    if (programs) {
        m_phase = Phase::Idle;
        report(Result::Cancelled, m_clock());
    } else {
        endAs(EndOutcome::Cancelled, m_clock());
    }
    tick();
}

void Run::startPrograms(const QDateTime &now)
{
    m_window->hide();
    m_phase = Phase::Programs;
    if (dayRecord(m_plan, m_start.marker) == DayRecord::WhenAllEnded)
        m_record.day = DayOutcome::Pending;
    m_programs.start(now);
    followPrograms(now);
}

// The programs, then the day on record as they have decided it, then the
// report once every program has been started or tried.
void Run::followPrograms(const QDateTime &now)
{
    m_programs.follow(now);
    const DayStep step = dayStep(dayRecord(m_plan, m_start.marker), m_programs.batch());
    if (!m_dayDone && step.move != DayMove::Nothing) {
        m_dayDone = true;
        keepDay(m_start.folder, m_record, step);
        m_record.next = nextStartLine(m_plan, now, m_record.dayOnRecord);
        if (m_reported)
            tell();
    }
    if (!m_reported && allStarted(m_programs.batch()))
        report(batchResult(m_programs.batch()), now);
}

void Run::report(Result result, const QDateTime &now)
{
    m_reported = true;
    settle(m_record, m_plan, result, now, m_programs.started(), m_platform.canEndSession());
    tell(ReportWrite::Yes);
}

// The record written as it stands; at a real start, a failure not told yet
// comes on top. A test run leaves the telling to the tool, but for a report
// it could not write.
void Run::tell(ReportWrite report)
{
    account(m_start.folder, m_record, m_start.block, report);
    if (m_start.marker) {
        if (report == ReportWrite::Yes && !m_record.reportError.isEmpty())
            throw Error(m_record.reportError);
        return;
    }
    m_failureWindow->tell(failures(m_record), m_start.folder.historyPath(), m_clock());
}

void Run::awaitEnd(const QDateTime &now)
{
    if (m_plan.record.syuryo_Mode == SyuryoMode::Syuryo3) {
        m_phase = Phase::Idle;
        return;
    }
    m_phase = Phase::EndWait;
    if (m_plan.record.syuryo_Mode == SyuryoMode::Syuryo2)
        m_endTimes = endTimes(m_plan, now, kEndSeconds);
    m_window->present(RunnerWindow::Form::EndWait, endWaitText(m_plan, m_endTimes.endAt),
                      QString());
}

void Run::beginEnd(const QDateTime &now)
{
    m_window->hide();
    if (m_start.marker) {
        // A test run ends Windows only when the user says so; the ticks
        // meanwhile leave the end alone. On top: at the set time the
        // programs may still fill the screen.
        m_phase = Phase::Asking;
        if (showMessage(m_platform, MessageType::Confirmation, endQuestion(m_plan), Yes | No, No,
                        MessageLayer::OnTop) != Yes)
            return endAs(EndOutcome::Declined, m_clock());
    }
    // The whole warning, even for a start or an answer late on the set time.
    const QDateTime at = m_start.marker ? m_clock() : now;
    m_phase = Phase::EndCountdown;
    m_countdown = Countdown(
        at, std::max(m_endTimes.endAt.isValid() ? m_endTimes.endAt : at, at.addSecs(kEndSeconds)));
    m_platform.messageBeep();
    m_window->present(RunnerWindow::Form::EndCountdown, endCountdownText(m_plan), QString());
    countDown(at);
}

void Run::endWindows(const QDateTime &now)
{
    m_window->hide();
    endAs(EndOutcome::Ended, now); // told first: the session may end under the runner
    using E = Platform::SessionEnd;
    const E end = m_platform.endSession(m_plan.record.shutdown_Mode == ShutdownMode::Reboot);
    if (end != E::Ended)
        endAs(end == E::Skipped ? EndOutcome::Skipped : EndOutcome::Failed, now);
    if (end == E::Failed && m_start.marker)
        throw Error(QStringLiteral("Windows を終了できませんでした"));
}

void Run::endAs(EndOutcome end, const QDateTime &now)
{
    m_phase = Phase::Idle;
    m_record.end = end;
    m_record.endAt = now;
    tell();
}

// Still something to wait for: the day to record once all have ended, or a
// failure window that is still up.
bool Run::busy() const
{
    return (m_programs.started() && dayRecord(m_plan, m_start.marker) != DayRecord::Never &&
            !m_dayDone) ||
           m_failureWindow->isVisible();
}

void Run::finish()
{
    tell();
    if (busy())
        return;
    m_phase = Phase::Done;
    m_timer.stop();
    m_window->hide();
    emit finished();
}

} // namespace nerubato::runner
