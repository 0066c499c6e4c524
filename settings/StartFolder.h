#pragma once

#include "ScheduleSettings.h"

#include <QDate>
#include <QDir>
#include <QString>

#include <optional>

namespace nerubato {

// The folder the tool starts in, and the runner works in, with the files both
// keep there: the file side of every flow. Each operation names its file in
// this folder, whatever the process's current directory, and says what
// happened: what it read, that a file is not there, or (thrown, with the text
// the user sees) that it could not be done. The windows ask the questions and
// show the messages; the runner decides.
class StartFolder
{
public:
    explicit StartFolder(const QString &path) : m_dir(path) {}
    QString path() const { return m_dir.path(); }
    // Gone since the program started (deleted, renamed, a drive ejected).
    bool isThere() const { return m_dir.exists(); }

    // The five slots, 1 to 5. Nothing when the slot holds no data; throws
    // FileOpenError or FileCreateError.
    std::optional<Lines> loadSlot(int slot) const;
    void saveSlot(int slot, const Lines &lines) const;

    // The registration: the schedule the runner carries out at computer start.
    bool isRegistered() const;
    // Nothing when nothing is registered; throws FileOpenError.
    std::optional<Lines> readRegistration() const;
    // Replaced in one step, so that the runner never finds it missing;
    // throws FileCreateError.
    void writeRegistration(const Lines &lines) const;
    // No registration at all is none to delete; one that stays after
    // "cancelled" would run at the next start, and throws FileDeleteError.
    void deleteRegistration() const;

    // The test run: the marker that has the runner skip its conditions (throws
    // FileCreateError), the report of an earlier run taken away (a failure is
    // let be: it is not shown for this run, since it is read only once there
    // again), and this run's report: whether it is there, and its first seven
    // lines joined by CR LF, decoded (throws FileOpenError).
    void writeSkipMarker() const;
    void removeReport() const;
    bool hasReport() const;
    QString readReport() const;

    // The runner's side. The marker is taken away as it is seen, so that the
    // next real start checks its conditions again; one that cannot be removed
    // would make every later start skip them, and throws FileDeleteError.
    bool takeSkipMarker() const;
    // The day a once-a-day schedule last ran: one CP932 line "yyyy/mm/dd".
    // Nothing when there is no such day or the line is not a date.
    std::optional<QDate> readLastRunDay() const;
    // Replaced atomically; throws FileCreateError.
    void writeRunDay(QDate day) const;
    // The report, whole before it takes its name; throws FileCreateError.
    void writeReport(const Lines &lines) const;
    // The history of the runner's starts, newest last: its last maxBytes
    // (nothing when there is none yet; throws FileOpenError), and the whole
    // of it replaced, never half-written (throws FileCreateError).
    QByteArray readHistory(qsizetype maxBytes) const;
    void writeHistory(const QByteArray &bytes) const;
    // Where the history is, as the user would type it.
    QString historyPath() const;

private:
    QDir m_dir;
};

} // namespace nerubato
