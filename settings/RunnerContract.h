#pragma once

#include <QByteArray>
#include <QString>
#include <array>

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

constexpr int kReportLines = 7;

// The marker's one line and CR LF, in CP932 (66 bytes).
QByteArray markerBytes();

// The report's first seven lines joined by CR LF, decoded; a shorter report
// gives the lines it has. Only they are read, however long the runner's log
// goes on after them. Throws FileOpenError.
QString readReport(const QString &fileName);

} // namespace nerubato::runner
