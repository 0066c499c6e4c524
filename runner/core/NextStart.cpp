#include "NextStart.h"

#include <algorithm>

namespace nerubato::runner {

namespace {

constexpr int kYearsAhead = 4;

QString hhmm(QTime t)
{
    return t.toString(u"HH:mm");
}

// The parts of the window that lie on one calendar date: a window past
// midnight is its morning part and its evening part.
QList<std::pair<QTime, QTime>> windowParts(const Plan &plan)
{
    if (plan.from <= plan.to)
        return {{plan.from, plan.to}};
    return {{QTime(0, 0), plan.to}, {plan.from, QTime(23, 59)}};
}

} // namespace

QString weekdayName(int day)
{
    static const char16_t *const kNames[] = {u"日", u"月", u"火", u"水", u"木", u"金", u"土"};
    return QString::fromUtf16(kNames[day]);
}

QString noNextStartLine(const QString &why)
{
    return QStringLiteral("次回: ありません（%1）").arg(why);
}

QString nextStartLine(const Plan &plan, const QDateTime &now, std::optional<QDate> lastRun)
{
    const ScheduleSettings &s = plan.record;
    if (s.yobi_Flag &&
        std::none_of(s.yobi_Days.begin(), s.yobi_Days.end(), [](bool on) { return on; }))
        return noNextStartLine(QStringLiteral("起動曜日が1つも選ばれていません"));
    const QDate today = now.date();
    const QTime minute(now.time().hour(), now.time().minute());
    for (QDate d = today; d <= today.addYears(kYearsAhead); d = d.addDays(1)) {
        if (s.kidobi_Flag && (d.month() != plan.month || d.day() != plan.day))
            continue;
        if (s.yobi_Flag && !s.yobi_Days[d.dayOfWeek() % 7])
            continue;
        const QString date =
            d.toString(u"yyyy/MM/dd") + QStringLiteral(" (%1) ").arg(weekdayName(d));
        if (s.kido_Mode == KidoMode::Timer) {
            if (d == today && plan.timer < minute)
                continue;
            return QStringLiteral("次回: %1%2 のタイマー起動（それまでにパソコンを起動したとき）")
                .arg(date, hhmm(plan.timer));
        }
        if (s.ikkai_Flag && lastRun == d)
            continue;
        QStringList parts;
        for (const auto &[from, to] : windowParts(plan)) {
            if (d != today || to >= minute)
                parts << hhmm(from) + u'～' + hhmm(to);
        }
        if (!parts.isEmpty())
            return QStringLiteral("次回: %1%2 の間にパソコンを起動したとき")
                .arg(date, parts.join(QStringLiteral(" または ")));
    }
    const QString date = QString::fromLatin1(s.kidobi_Date);
    return noNextStartLine(
        s.yobi_Flag
            ? QStringLiteral("起動日 %1 が起動曜日に当たる日は%2年以内にありません")
                  .arg(date)
                  .arg(kYearsAhead)
            : QStringLiteral("起動日 %1 は%2年以内にありません").arg(date).arg(kYearsAhead));
}

} // namespace nerubato::runner
