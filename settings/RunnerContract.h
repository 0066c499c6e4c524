#pragma once

#include "ScheduleSettings.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <array>
#include <optional>

// What this tool and the runner quorvex.exe exchange. Every name is relative
// to the start directory.
namespace nerubato::runner {

inline const std::array<QString, 5> kSlotFiles = {
    QStringLiteral("hozondt1.dat"), QStringLiteral("hozondt2.dat"), QStringLiteral("hozondt3.dat"),
    QStringLiteral("hozondt4.dat"), QStringLiteral("hozondt5.dat")};
inline const QString kRegistrationFile = QStringLiteral("kidodata.dat");
inline const QString kMarkerFile = QStringLiteral("tstjikko.dat");
inline const QString kReportFile = QStringLiteral("errormsg.txt");
inline const QString kRunnerFile = QStringLiteral("quorvex.exe");
inline const QString kHelpFile = QStringLiteral("vesprat.hlp");
// The runner's own: the day it last ran a once-a-day schedule, and the lock
// that keeps a second runner out of the same directory.
inline const QString kDayFile = QStringLiteral("kidorireki.dat");
inline const QString kLockFile = QStringLiteral("quorvex.lck");

constexpr int kReportLines = 7;

// The marker's one line and CR LF, in CP932 (66 bytes).
QByteArray markerBytes();

// The registration: the schedule the runner carries out at computer start.
// Only these name its file and the marker's.
bool isRegistered();
// Throws FileOpenError.
Lines readRegistration();
// Replaced in one step, so that the runner never finds it missing; throws
// FileCreateError.
void writeRegistration(const Lines &lines);
// No registration at all is none to delete; one that stays after "cancelled"
// would run at the next start, and throws FileDeleteError.
void deleteRegistration();
// The marker that has the runner skip its start-condition checks; throws
// FileCreateError.
void writeSkipMarker();

// The runner's side. The marker is taken away as it is seen, so that the next
// real start checks its conditions again; a marker that cannot be removed
// would make every later start skip them, and throws FileDeleteError.
bool takeSkipMarker();
// The day a once-a-day schedule last ran: one CP932 line "yyyy/mm/dd".
// Nothing when there is no such day or the line is not a date.
std::optional<QDate> readLastRunDay();
// Replaced atomically; throws FileCreateError.
void writeRunDay(QDate day);
// The report, whole before it takes its name; throws FileCreateError.
void writeReport(const Lines &lines);

// The report's first seven lines joined by CR LF, decoded; a shorter report
// gives the lines it has. Only they are read, however long the runner's log
// goes on after them. Throws FileOpenError.
QString readReport(const QString &fileName);

} // namespace nerubato::runner
