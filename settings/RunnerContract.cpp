#include "RunnerContract.h"

#include "Cp932.h"
#include "Errors.h"
#include "SettingsFile.h"

#include <QFile>
#include <QStringList>

namespace nerubato::runner {

QByteArray markerBytes()
{
    return *cp932::encode(u"このファイルは条件判定処理を行わない場合に作成されるファイルです") +
           "\r\n";
}

bool isRegistered()
{
    return fileExists(kRegistrationFile);
}

Lines readRegistration()
{
    return loadLines(kRegistrationFile);
}

void writeRegistration(const Lines &lines)
{
    saveLines(kRegistrationFile, lines);
}

void deleteRegistration()
{
    if (fileExists(kRegistrationFile) && !QFile::remove(kRegistrationFile))
        throw FileDeleteError(kRegistrationFile);
}

void writeSkipMarker()
{
    saveBytes(kMarkerFile, markerBytes());
}

bool takeSkipMarker()
{
    if (!fileExists(kMarkerFile))
        return false;
    if (!QFile::remove(kMarkerFile))
        throw FileDeleteError(kMarkerFile);
    return true;
}

std::optional<QDate> readLastRunDay()
{
    QFile file(kDayFile);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const Lines lines = splitLines(file.read(64));
    if (lines.isEmpty())
        return std::nullopt;
    const QDate day = QDate::fromString(QString::fromLatin1(lines.first()), u"yyyy/MM/dd");
    return day.isValid() ? std::optional(day) : std::nullopt;
}

void writeRunDay(QDate day)
{
    saveLines(kDayFile, {day.toString(u"yyyy/MM/dd").toLatin1()});
}

void writeReport(const Lines &lines)
{
    saveLines(kReportFile, lines);
}

QString readReport(const QString &fileName)
{
    QStringList shown;
    for (const QByteArray &line : loadFirstLines(fileName, kReportLines))
        shown << cp932::decode(line);
    return shown.join(QStringLiteral("\r\n"));
}

} // namespace nerubato::runner
