#pragma once

#include "platform/Platform.h"
#include "shell/WindowSet.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace nerubato::test {

// Records what the program asked of the platform instead of doing it.
class FakePlatform : public Platform
{
public:
    struct Launch
    {
        QString file, parameters, directory, currentDirectory;
        int showCommand;
    };

    void messageBeep() override { ++beeps; }
    void shellLaunch(QWidget *, const QString &file, const QString &parameters,
                     const QString &directory, int showCommand) override;
    QStringList drives() override { return fakeDrives; }

    int beeps = 0;
    QList<Launch> launches;
    QStringList fakeDrives;
    // Runs on every launch, in the launching process's current directory.
    std::function<void(const Launch &)> onLaunch;
};

// What a message box showed, captured as it was answered.
struct SeenMessage
{
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons; // in on-screen order
    QString defaultButton;
    QString escapeButton;
    Qt::TextFormat textFormat = Qt::AutoText;
    // What the main window's timer was set to while the box was open.
    int timerInterval = -1;
    bool seen = false;
};

// Answers the next modal message box by pressing the button with this text
// (or, with the text "<close>", its close box; "<esc>", the Esc key; "<enter>",
// Enter on what has the focus) and
// records what it showed. Arm it before the action that opens the box.
class MessageAnswerer
{
public:
    explicit MessageAnswerer(const QString &answer);
    ~MessageAnswerer();
    const SeenMessage &seen() const { return *m_seen; }
    // Answers the box after this one too, with another answer.
    void then(const QString &answer);

private:
    std::shared_ptr<SeenMessage> m_seen;
    std::shared_ptr<QStringList> m_answers;
    std::shared_ptr<QList<SeenMessage>> m_all;
    class QTimer *m_timer;

public:
    const QList<SeenMessage> &all() const { return *m_all; }
};

// A fresh temporary directory that is the current directory for one test case.
class WorkDir
{
public:
    WorkDir();
    ~WorkDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;
    bool exists(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// The whole program on a fake platform, in a fresh working directory; it ends
// as the program does, with the editor's end before the windows go.
struct Program
{
    WorkDir dir;
    FakePlatform platform;
    WindowSet windows{platform};
    Forms &forms() { return windows.forms(); }
    ~Program() { windows.end(); }
};

QByteArray defaultSettingsFile();
// The skip marker as its text reads, CP932 bytes written out here: 66 bytes.
QByteArray markerFileBytes();

// A helper program the tests build beside themselves ("fake_quorvex", "holdfile").
QString helperPath(const QString &name);
// Puts the runner stand-in into dir as quorvex.exe: it writes an eight-line
// report whose first line is "marker" or "no marker", whose second is 正常終了.
void installFakeRunner(const WorkDir &dir);

// True when the Windows build runs under Wine rather than on Windows.
bool underWine();

// Cases that make permission bits hold by dropping root's rights in a forked
// child need POSIX; the Windows build skips them (see tests/CMakeLists.txt).
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

} // namespace nerubato::test
