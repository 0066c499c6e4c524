#pragma once

#include "Rules.h"

#include <QString>

namespace nerubato::runner {

// The line that tells when a computer start will next run the schedule, as a
// start at any moment from `now` would decide it, with lastRun the day on
// record: "次回: 2026/12/14 (月) 08:00～09:00 の間にパソコンを起動したとき".
// Looked for within four years (so that a 02/29 is met); a schedule that no
// start would run says why. Once a day and done today: from tomorrow.
QString nextStartLine(const Plan &plan, const QDateTime &now, std::optional<QDate> lastRun);

// The line for a start that could not read a schedule: why there is none.
QString noNextStartLine(const QString &why);

// A weekday's name as the editor labels its boxes, 0 (日) to 6 (土), the
// order of the record's weekdays.
QString weekdayName(int day);
inline QString weekdayName(QDate day)
{
    return weekdayName(day.dayOfWeek() % 7); // dayOfWeek: Monday 1 ... Sunday 7
}

} // namespace nerubato::runner
