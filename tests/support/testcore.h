#pragma once

// What every level of test uses: QtCore only.

#include "settings/ScheduleSettings.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>

namespace nerubato::test {

// A fresh temporary directory that is the current directory for one test case.
class WorkDir
{
public:
    WorkDir();
    ~WorkDir();
    WorkDir(const WorkDir &) = delete;
    WorkDir &operator=(const WorkDir &) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;
    bool exists(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// The start directory renamed away, with the process moved elsewhere (as
// Windows renames no process's current directory), for as long as it lives.
struct StartDirectoryGone
{
    explicit StartDirectoryGone(const QString &start);
    ~StartDirectoryGone();
    StartDirectoryGone(const StartDirectoryGone &) = delete;
    StartDirectoryGone &operator=(const StartDirectoryGone &) = delete;
    QTemporaryDir elsewhere;
    QString start;
};

// A record whose every field differs from the default, double-byte paths and
// the reserved word among them: the one record the tests and the benchmarks
// build beyond the default.
ScheduleSettings changedRecord();

// The 49 lines of an untouched editor, as the file holds them (250 bytes).
QByteArray defaultSettingsFile();
// The default file's lines with some replaced, "line=text" each, separated
// by ";" ("11=08:00;12=09:00"); "-n" keeps only the first n lines.
QList<QByteArray> changedLines(const QString &changes);
// The skip marker as its text reads, CP932 bytes written out here: 66 bytes.
QByteArray markerFileBytes();

// A helper program the tests build beside themselves ("fake_quorvex", "holdfile").
QString helperPath(const QString &name);
// Copies the program at path into dir as name, runnable; returns its path.
QString installProgram(const WorkDir &dir, const QString &path, const QString &name);
// Puts the runner stand-in into dir as quorvex.exe: it writes an eight-line
// report whose first line is "marker" or "no marker", whose second is 正常終了.
void installFakeRunner(const WorkDir &dir);
// Puts the real runner from folder into dir, with the windowed part it loads
// from beside itself.
void installRunner(const WorkDir &dir, const QString &folder);

// True when the Windows build runs under Wine rather than on Windows.
bool underWine();

// Cases that make permission bits hold by dropping root's rights in a forked
// child need POSIX; the Windows build skips them.
#ifdef Q_OS_WIN
#define NERUBATO_POSIX_ONLY() QSKIP("needs POSIX: permission bits and fork")
#else
#define NERUBATO_POSIX_ONLY() (void)0
#endif

// Runs check as an unprivileged user when the tests run as root, so that
// permission bits hold; returns check's result. Directories the check needs
// must be reachable by that user.
bool asUnprivilegedUser(const std::function<bool()> &check);

// Makes dir read-only (and reachable by the unprivileged user).
void makeReadOnly(const QString &dir);

// While it lives, this process can neither read a file of dir nor remove it,
// as when the user lacks the rights or another process holds it: on Windows a
// second process holds it open (holdfile); elsewhere the file loses its rights
// and dir its write right, and a test run as root meets them by taking an
// unprivileged user's file access on this thread (setfsuid).
class FileBeyondReach
{
public:
    FileBeyondReach(const WorkDir &dir, const QString &name);
    ~FileBeyondReach();
    FileBeyondReach(const FileBeyondReach &) = delete;
    FileBeyondReach &operator=(const FileBeyondReach &) = delete;

private:
    const WorkDir &m_dir;
    QString m_file;
    std::function<void()> m_release;
};

} // namespace nerubato::test
