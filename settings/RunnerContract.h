#pragma once

#include <QByteArray>
#include <QString>
#include <array>

// The names of what this tool and the runner quorvex.exe keep in the start
// directory and exchange there (StartFolder reads and writes them).
namespace nerubato::runner {

inline const std::array<QString, 5> kSlotFiles = {
    QStringLiteral("hozondt1.dat"), QStringLiteral("hozondt2.dat"), QStringLiteral("hozondt3.dat"),
    QStringLiteral("hozondt4.dat"), QStringLiteral("hozondt5.dat")};
inline const QString kRegistrationFile = QStringLiteral("kidodata.dat");
inline const QString kMarkerFile = QStringLiteral("tstjikko.dat");
inline const QString kReportFile = QStringLiteral("errormsg.txt");
inline const QString kRunnerFile = QStringLiteral("quorvex.exe");
inline const QString kHelpFile = QStringLiteral("vesprat.hlp");
// The runner's own: the day it last ran a once-a-day schedule, and the
// history of its starts.
inline const QString kDayFile = QStringLiteral("kidorireki.dat");
inline const QString kHistoryFile = QStringLiteral("jikkorireki.txt");

constexpr int kReportLines = 7;

// The marker's one line and CR LF, in CP932 (66 bytes).
QByteArray markerBytes();

} // namespace nerubato::runner
