#include "Rules.h"

#include "settings/Cp932.h"

#include <algorithm>

namespace nerubato::runner {

namespace {

QTime toMinute(const QTime &t)
{
    return QTime(t.hour(), t.minute());
}

} // namespace

Decision decide(const Plan &plan, const QDateTime &now, std::optional<QDate> lastRun, bool marker)
{
    if (marker)
        return {Verdict::Run, now, true};
    const ScheduleSettings &s = plan.record;
    const QDate today = now.date();
    if (s.kidobi_Flag && (today.month() != plan.month || today.day() != plan.day))
        return {Verdict::WrongDate, {}, false};
    if (s.yobi_Flag) {
        if (std::none_of(s.yobi_Days.begin(), s.yobi_Days.end(), [](bool on) { return on; }))
            return {Verdict::NoWeekday, {}, false};
        if (!s.yobi_Days[today.dayOfWeek() % 7]) // dayOfWeek: Monday 1 ... Sunday 7
            return {Verdict::WrongWeekday, {}, false};
    }
    const QTime minute = toMinute(now.time());
    if (s.kido_Mode == KidoMode::Timer) {
        if (plan.timer > minute)
            return {Verdict::Wait, QDateTime(today, plan.timer), false};
        if (plan.timer < minute)
            return {Verdict::TimerPassed, {}, false};
        return {Verdict::Run, now, false};
    }
    const bool inside = plan.from <= plan.to ? plan.from <= minute && minute <= plan.to
                                             : minute >= plan.from || minute <= plan.to;
    if (!inside)
        return {Verdict::OutsideWindow, {}, false};
    if (s.ikkai_Flag && lastRun == today)
        return {Verdict::AlreadyRun, {}, false};
    return {Verdict::Run, now, false};
}

DayRecord dayRecord(const Plan &plan, bool marker)
{
    const ScheduleSettings &s = plan.record;
    if (marker || !s.ikkai_Flag || s.kido_Mode != KidoMode::Sokuji)
        return DayRecord::Never;
    return s.syosai_Mode == SyosaiMode::Syosai ? DayRecord::WhenStarted : DayRecord::WhenAllEnded;
}

QByteArray replaceDateWord(const QByteArray &text, const QByteArray &word)
{
    static const QByteArray kWord = "yymmdd";
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (text.sliced(i).startsWith(kWord)) {
            out += word;
            i += kWord.size();
            continue;
        }
        const qsizetype next = cp932::nextCharacter(text, i, cp932::LeadTakes::TrailByte);
        out += text.sliced(i, next - i);
        i = next;
    }
    return out;
}

QByteArray dateWord(const Plan &plan, QDate day)
{
    const ScheduleSettings &s = plan.record;
    if (!s.yoyakugo_Flag)
        return {};
    if (s.yoyakugo_Mode == YoyakugoMode::Siteiymd)
        return s.siteiymd_Date;
    return day.toString(u"yyMMdd").toLatin1();
}

Batch newBatch(const Plan &plan)
{
    Batch batch;
    for (int i = 0; i < ScheduleSettings::kEntries; ++i)
        batch[i].stage = plan.hasProgram(i) ? Stage::Pending : Stage::Empty;
    return batch;
}

QList<int> dueEntries(const Plan &plan, const Batch &batch, const QDateTime &batchStart,
                      const QDateTime &now)
{
    QList<int> due;
    for (int i = 0; i < ScheduleSettings::kEntries; ++i) {
        if (batch[i].stage != Stage::Pending)
            continue;
        int above = i - 1;
        while (above >= 0 && batch[above].stage == Stage::Empty)
            --above;
        const Stage aboveStage = above < 0 ? Stage::Ended : batch[above].stage;
        if (aboveStage == Stage::Pending)
            continue;
        if (plan.independent(i)) {
            const QDateTime since = above < 0 ? batchStart : batch[above].startedAt;
            if (now >= since.addSecs(qint64(plan.delayMinutes[i]) * 60))
                due << i;
        } else if (aboveStage == Stage::Ended || aboveStage == Stage::Failed) {
            due << i;
        }
    }
    return due;
}

bool allStarted(const Batch &batch)
{
    return std::none_of(batch.begin(), batch.end(),
                        [](const EntryState &e) { return e.stage == Stage::Pending; });
}

bool allEnded(const Batch &batch)
{
    return std::none_of(batch.begin(), batch.end(), [](const EntryState &e) {
        return e.stage == Stage::Pending || e.stage == Stage::Running;
    });
}

EndTimes endTimes(const Plan &plan, const QDateTime &from, int warningSeconds)
{
    const QDateTime today(from.date(), plan.endAt);
    const QDateTime endAt = today > from ? today : QDateTime(from.date().addDays(1), plan.endAt);
    const QDateTime warnAt = endAt.addSecs(-warningSeconds);
    if (warnAt < from)
        return {from, from.addSecs(warningSeconds)};
    return {warnAt, endAt};
}

DayStep dayStep(DayRecord when, const Batch &batch)
{
    if (when == DayRecord::Never)
        return {};
    QDateTime first;
    for (const EntryState &e : batch) {
        if ((e.stage == Stage::Running || e.stage == Stage::Ended) &&
            (!first.isValid() || e.startedAt < first))
            first = e.startedAt;
    }
    const bool over = when == DayRecord::WhenStarted ? allStarted(batch) : allEnded(batch);
    if (when == DayRecord::WhenAllEnded && !over)
        return {};
    if (first.isValid())
        return {DayMove::Write, first.date()};
    return over ? DayStep{DayMove::LeaveFree, {}} : DayStep{};
}

QByteArray programPath(const QByteArray &path)
{
    if (path.size() >= 2 && path.startsWith('"') && path.endsWith('"'))
        return path.mid(1, path.size() - 2);
    return path;
}

int secondsLeft(const QDateTime &now, const QDateTime &deadline)
{
    const qint64 ms = now.msecsTo(deadline);
    return ms <= 0 ? 0 : int((ms + 999) / 1000);
}

QDateTime keptDeadline(const QDateTime &deadline, const QDateTime &lastLook, const QDateTime &now)
{
    const qint64 gap = lastLook.msecsTo(now);
    return gap < 0 || gap > kClockJumpMs ? deadline.addMSecs(gap) : deadline;
}

std::optional<int> Countdown::look(const QDateTime &now)
{
    m_deadline = keptDeadline(m_deadline, m_lastLook, now);
    m_lastLook = now;
    const int left = secondsLeft(now, m_deadline);
    if (left == m_shown)
        return std::nullopt;
    return m_shown = left;
}

} // namespace nerubato::runner
