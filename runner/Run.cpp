#include "Run.h"

#include "RunnerWindow.h"
#include "settings/Cp932.h"
#include "settings/Errors.h"
#include "settings/RunnerContract.h"
#include "ui/Handlers.h"
#include "ui/Placement.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace nerubato::runner {

Run::Run(Platform &platform, Clock clock, Start start, QObject *parent)
    : QObject(parent), m_platform(platform), m_clock(std::move(clock)), m_start(std::move(start)),
      m_plan(*m_start.plan)
{
    m_word = dateWord(m_plan, m_start.at.date());
    m_outcomes = notStarted(&m_plan);
    m_timer.setInterval(kTickInterval);
    connectGuarded(m_platform, &m_timer, &QTimer::timeout, this, &Run::tick);
}

Run::~Run() = default;

RunnerWindow &Run::window()
{
    if (!m_window) {
        m_window = std::make_unique<RunnerWindow>(m_platform);
        connectGuarded(m_platform, m_window.get(), &RunnerWindow::runNowPressed, this, &Run::runNow);
        connectGuarded(m_platform, m_window.get(), &RunnerWindow::cancelPressed, this, &Run::cancel);
    }
    return *m_window;
}

void Run::present(bool onTop, bool minimized, bool minimizeWhenShown)
{
    RunnerWindow &w = window();
    w.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (minimized) {
        w.showMinimized();
        return;
    }
    w.showNormal();
#ifdef Q_OS_WIN
    // The tool starts the runner hidden (SW_HIDE), and Windows may put a
    // program's start-up show command in place of its first window's: the
    // countdown must be seen all the same.
    ShowWindow(reinterpret_cast<HWND>(w.winId()), SW_SHOWNORMAL);
#endif
    bringToFront(&w);
    if (minimizeWhenShown)
        QTimer::singleShot(0, &w, &QWidget::showMinimized);
}

QByteArray Run::asRun(const QByteArray &text) const
{
    return m_word.isEmpty() ? text : replaceDateWord(text, m_word);
}

QString Run::programList() const
{
    QStringList lines;
    for (int i = 0; i < ScheduleSettings::kEntries; ++i) {
        if (m_plan.hasProgram(i))
            lines << programLabel(i) + QStringLiteral("  ") +
                         cp932::decode(commandLine(asRun(m_plan.record.jikko_Path[i]),
                                                   asRun(m_plan.record.sw_Args[i])));
    }
    return lines.join(u'\n');
}

void Run::begin()
{
    m_lastLook = m_clock();
    m_timer.start();
    if (m_start.decision.verdict != Verdict::Wait) {
        startCountdown(m_lastLook);
        return;
    }
    m_phase = Phase::Waiting;
    m_deadline = m_start.decision.at;
    RunnerWindow &w = window();
    w.showText(QStringLiteral("%1 に次のプログラムを実行します（タイマー起動）。")
                   .arg(m_deadline.time().toString(u"HH:mm")),
               programList());
    w.showSeconds(QString());
    w.offerRunNow(false);
    const bool minimize = m_plan.record.minimize_Mode == MinimizeMode::Minimize;
    present(false, minimize && m_plan.record.smallstart_Flag, minimize);
}

void Run::tick()
{
    const QDateTime now = m_clock();
    if (m_phase == Phase::Countdown || m_phase == Phase::EndCountdown)
        m_deadline = keptDeadline(m_deadline, m_lastLook, now);
    m_lastLook = now;
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
    if (m_batchStart.isValid())
        followPrograms(now);
    switch (m_phase) {
    case Phase::Programs:
        if (m_reported)
            awaitEnd(now);
        break;
    case Phase::EndWait:
        if (endIsDue(now))
            beginEnd();
        break;
    case Phase::EndCountdown:
        if (countDown(now)) {
            m_window->hide();
            m_phase = Phase::Idle;
            // The Linux build's skip is in the report already; a refusal is not.
            if (m_platform.endSession(m_plan.record.shutdown_Mode == ShutdownMode::Reboot) ==
                Platform::SessionEnd::Failed)
                throw Error(QStringLiteral("Windows を終了できませんでした"));
        }
        break;
    default:
        break;
    }
    if (m_phase == Phase::Idle && !dayPending())
        finish();
}

void Run::startCountdown(const QDateTime &now)
{
    m_phase = Phase::Countdown;
    m_deadline = now.addSecs(m_plan.messageSeconds);
    m_shownSeconds = -1;
    RunnerWindow &w = window();
    w.showText(QStringLiteral("次のプログラムを実行します。「中止」を押すと何も実行しません。"),
               programList());
    w.offerRunNow(true);
    present(true);
    countDown(now);
}

// Shows the seconds left, beeping in the last ones before the programs; true
// once the time is up.
bool Run::countDown(const QDateTime &now)
{
    const int left = secondsLeft(now, m_deadline);
    if (left == m_shownSeconds)
        return false;
    m_shownSeconds = left;
    if (m_phase == Phase::Countdown) {
        window().showSeconds(QStringLiteral("あと %1 秒で実行します").arg(left));
        if (left > 0 && left <= m_plan.beepSeconds)
            m_platform.messageBeep();
    } else {
        window().showSeconds(QStringLiteral("あと %1 秒").arg(left));
    }
    return left == 0;
}

void Run::runNow()
{
    if (m_phase == Phase::Countdown)
        startPrograms(m_clock());
}

void Run::cancel()
{
    switch (m_phase) {
    case Phase::Waiting:
    case Phase::Countdown:
        m_window->hide();
        m_phase = Phase::Idle;
        report(Result::Cancelled, m_clock());
        break;
    case Phase::EndWait:
    case Phase::EndCountdown:
        m_window->hide();
        m_phase = Phase::Idle;
        break;
    default:
        return;
    }
    tick();
}

void Run::startPrograms(const QDateTime &now)
{
    m_window->hide();
    m_phase = Phase::Programs;
    m_batchStart = now;
    m_batch = newBatch(m_plan);
    if (dayRecord(m_plan, m_start.marker) == DayRecord::WhenStarted)
        recordDay();
    followPrograms(now);
}

void Run::followPrograms(const QDateTime &now)
{
    for (int i = 0; i < ScheduleSettings::kEntries; ++i) {
        if (m_batch[i].stage == Stage::Running && m_programs[i]->hasEnded()) {
            m_batch[i].stage = Stage::Ended;
            m_programs[i].reset();
        }
    }
    // An entry started now may be what the next one waits for.
    for (QList<int> due; !(due = dueEntries(m_plan, m_batch, m_batchStart, now)).isEmpty();) {
        for (int entry : due)
            startEntry(entry, now);
    }
    if (!m_reported && allStarted(m_batch)) {
        const bool failed = std::any_of(m_batch.begin(), m_batch.end(),
                                        [](const EntryState &e) { return e.stage == Stage::Failed; });
        const bool none = std::all_of(m_batch.begin(), m_batch.end(),
                                      [](const EntryState &e) { return e.stage == Stage::Empty; });
        report(failed ? Result::SomeFailed : none ? Result::NothingSet : Result::Started, now);
    }
    if (dayRecord(m_plan, m_start.marker) == DayRecord::WhenAllEnded && m_dayWritten.isNull() &&
        allEnded(m_batch))
        recordDay();
}

void Run::startEntry(int entry, const QDateTime &now)
{
    const QByteArray path = asRun(m_plan.record.jikko_Path[entry]);
    const QByteArray arguments = asRun(m_plan.record.sw_Args[entry]);
    Platform::Started started =
        m_platform.startProgram(cp932::decode(programPath(path)), cp932::decode(arguments));
    m_batch[entry].startedAt = now;
    ProgramOutcome &outcome = m_outcomes[entry];
    outcome.commandLine = commandLine(path, arguments);
    outcome.at = now.time();
    if (started.program) {
        m_batch[entry].stage = Stage::Running;
        m_programs[entry] = std::move(started.program);
        outcome.kind = ProgramOutcome::Kind::Started;
    } else {
        m_batch[entry].stage = Stage::Failed;
        outcome.kind = ProgramOutcome::Kind::Failed;
        outcome.reason = started.error;
    }
}

void Run::report(Result result, const QDateTime &now)
{
    m_reported = true;
    const bool ran = m_phase != Phase::Idle;
    RunOutcome outcome{result,
                       now,
                       conditionsText(m_plan, m_start.decision, m_start.at),
                       m_outcomes,
                       ran ? endingText(m_plan, m_platform.canEndSession(), m_start.marker)
                           : noEndingText(),
                       {}};
    if (ran)
        outcome.notes = dayNotes(m_plan, m_start.marker, m_dayWritten, m_dayError);
    m_start.folder.writeReport(reportLines(outcome));
}

// Once: a day that cannot be written stops no program, and is told in the
// report, or in the error box when the report has gone already.
void Run::recordDay()
{
    m_dayWritten = m_start.at.date();
    try {
        m_start.folder.writeRunDay(m_dayWritten);
    } catch (const Error &e) {
        m_dayError = e.text();
        if (m_reported)
            throw;
    }
}

bool Run::dayPending() const
{
    return m_batchStart.isValid() &&
           dayRecord(m_plan, m_start.marker) == DayRecord::WhenAllEnded && m_dayWritten.isNull();
}

void Run::awaitEnd(const QDateTime &now)
{
    const ScheduleSettings &s = m_plan.record;
    if (s.syuryo_Mode == SyuryoMode::Syuryo3) {
        m_phase = Phase::Idle;
        return;
    }
    m_phase = Phase::EndWait;
    QString when = QStringLiteral("全てのプログラムが終わったら、");
    if (s.syuryo_Mode == SyuryoMode::Syuryo2) {
        m_deadline = nextEndTime(m_plan, now);
        when = QStringLiteral("%1 に、").arg(m_deadline.time().toString(u"HH:mm"));
    }
    RunnerWindow &w = window();
    w.showText(when + endAction(m_plan) + QStringLiteral("。「中止」を押すと終了しません。"), QString());
    w.showSeconds(QString());
    w.offerRunNow(false);
    present(false);
}

bool Run::endIsDue(const QDateTime &now) const
{
    return m_plan.record.syuryo_Mode == SyuryoMode::Syuryo1 ? allEnded(m_batch) : now >= m_deadline;
}

void Run::beginEnd()
{
    m_window->hide();
    if (m_start.marker) {
        // A test run ends Windows only when the user says so; the question
        // stays until then, and the ticks meanwhile leave the end alone. It
        // is asked on top: at the set time the programs may still fill the
        // screen, and a question behind them would hold the runner unseen.
        m_phase = Phase::Asking;
        const MessageButton answer = showMessage(
            m_platform, MessageType::Confirmation,
            {QStringLiteral("テスト実行が終わりました。"),
             QStringLiteral("設定どおり%1か？").arg(endAction(m_plan))},
            Yes | No, No, MessageLayer::OnTop);
        if (answer != Yes) {
            m_phase = Phase::Idle;
            return;
        }
    }
    m_phase = Phase::EndCountdown;
    m_deadline = m_clock().addSecs(kEndSeconds);
    m_shownSeconds = -1;
    RunnerWindow &w = window();
    w.showText(endAction(m_plan) + QStringLiteral("。「中止」を押すと終了しません。"), QString());
    w.offerRunNow(false);
    m_platform.messageBeep();
    present(true);
    countDown(m_clock());
}

void Run::finish()
{
    m_phase = Phase::Done;
    m_timer.stop();
    if (m_window)
        m_window->hide();
    emit finished();
}

} // namespace nerubato::runner
