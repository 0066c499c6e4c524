#include "StartFolder.h"

#include "Cp932.h"
#include "Errors.h"
#include "RunnerContract.h"
#include "SettingsFile.h"

#include <QFile>
#include <QStringList>

#include <algorithm>

namespace nerubato {

using namespace runner;

std::optional<Lines> StartFolder::loadSlot(int slot) const
{
    const QString &name = kSlotFiles.at(slot - 1);
    if (!fileExists(m_dir, name))
        return std::nullopt;
    return loadLines(m_dir, name);
}

void StartFolder::saveSlot(int slot, const Lines &lines) const
{
    saveLines(m_dir, kSlotFiles.at(slot - 1), lines);
}

bool StartFolder::isRegistered() const
{
    return fileExists(m_dir, kRegistrationFile);
}

std::optional<Lines> StartFolder::readRegistration() const
{
    if (!isRegistered())
        return std::nullopt;
    return loadLines(m_dir, kRegistrationFile);
}

void StartFolder::writeRegistration(const Lines &lines) const
{
    saveLines(m_dir, kRegistrationFile, lines);
}

void StartFolder::deleteRegistration() const
{
    if (isRegistered() && !QFile::remove(m_dir.filePath(kRegistrationFile)))
        throw FileDeleteError(kRegistrationFile);
}

void StartFolder::writeSkipMarker() const
{
    saveBytes(m_dir, kMarkerFile, markerBytes());
}

void StartFolder::removeReport() const
{
    if (hasReport())
        QFile::remove(m_dir.filePath(kReportFile));
}

bool StartFolder::hasReport() const
{
    return fileExists(m_dir, kReportFile);
}

QString StartFolder::readReport() const
{
    QStringList shown;
    for (const QByteArray &line : loadFirstLines(m_dir, kReportFile, kReportLines))
        shown << cp932::decode(line);
    return shown.join(QStringLiteral("\r\n"));
}

bool StartFolder::takeSkipMarker() const
{
    if (!fileExists(m_dir, kMarkerFile))
        return false;
    if (!QFile::remove(m_dir.filePath(kMarkerFile)))
        throw FileDeleteError(kMarkerFile);
    return true;
}

std::optional<QDate> StartFolder::readLastRunDay() const
{
    QFile file(m_dir.filePath(kDayFile));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const Lines lines = splitLines(file.read(64));
    if (lines.isEmpty())
        return std::nullopt;
    const QDate day = QDate::fromString(QString::fromLatin1(lines.first()), u"yyyy/MM/dd");
    return day.isValid() ? std::optional(day) : std::nullopt;
}

void StartFolder::writeRunDay(QDate day) const
{
    saveLines(m_dir, kDayFile, {day.toString(u"yyyy/MM/dd").toLatin1()});
}

void StartFolder::writeReport(const Lines &lines) const
{
    saveLines(m_dir, kReportFile, lines);
}

QByteArray StartFolder::readHistory(qsizetype maxBytes) const
{
    if (!fileExists(m_dir, kHistoryFile))
        return {};
    QFile file(m_dir.filePath(kHistoryFile));
    if (!file.open(QIODevice::ReadOnly) || !file.seek(std::max<qint64>(0, file.size() - maxBytes)))
        throw FileOpenError(kHistoryFile);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileOpenError(kHistoryFile);
    return bytes;
}

void StartFolder::writeHistory(const QByteArray &bytes) const
{
    saveBytes(m_dir, kHistoryFile, bytes);
}

QString StartFolder::historyPath() const
{
    return QDir::toNativeSeparators(m_dir.absoluteFilePath(kHistoryFile));
}

} // namespace nerubato
