#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QFileSystemWatcher;
class QObject;
class QWidget;

namespace nerubato {

// What stands in for the Windows interfaces. The windows hold a reference to
// one of these; tests hand them a fake so that nothing beeps, launches a
// program or depends on the machine's drives.
class Platform
{
public:
    // ShellExecute's show commands that the tool uses.
    static constexpr int kSwHide = 0;
    static constexpr int kSwShowNormal = 1;

    // What a directory listing found: Gone, the directory is not there (any
    // more); Unreadable, it is there but cannot be listed.
    enum class Listing { Read, Gone, Unreadable };
    enum class Entries { Directories, Files };

    virtual ~Platform() = default;

    virtual void messageBeep();
    // Opens a file through the shell; an empty directory means the current one.
    // The result is not reported.
    virtual void shellLaunch(QWidget *owner, const QString &file, const QString &parameters,
                             const QString &directory, int showCommand);
    // The roots of the drives that can be browsed.
    virtual QStringList drives();
    // The names of path's directories or plain files, unsorted, neither hidden
    // nor system ones (on Windows by attribute; elsewhere dot-files, devices,
    // pipes, sockets and dangling links). Stops early, with what it has, once
    // dropped() says the listing is no longer wanted. Runs on the file
    // chooser's worker thread: it touches nothing but its arguments.
    static Listing listDirectory(const QString &path, Entries entries,
                                 const std::function<bool()> &dropped, QStringList &names);
    using DirectoryLister =
        std::function<Listing(const QString &path, Entries entries,
                              const std::function<bool()> &dropped, QStringList &names)>;
    // What the file chooser's workers list directories with: listDirectory,
    // or a stand-in's. A value of its own, holding nothing of the platform: a
    // read that hangs is left to itself and may end after the platform has gone.
    virtual DirectoryLister directoryLister() const { return &Platform::listDirectory; }
    // Watches the directories the file chooser shows. On Windows a watched
    // directory cannot be renamed, deleted or ejected, so what the chooser
    // watches is made here, where a stand-in can tell what it is.
    virtual QFileSystemWatcher *directoryWatcher(QObject *parent);

    // A program the runner started, watched until it ends. A document handed
    // to an application (one already running, perhaps) has no process of its
    // own to watch: it counts as ended once it has been handed over.
    class Program
    {
    public:
        virtual ~Program() = default;
        virtual bool hasEnded() = 0;
        // Once it has ended: its exit code, or nothing for a document handed
        // over, which has no end of its own.
        virtual std::optional<int> exitCode() const = 0;
    };
    struct Started
    {
        std::unique_ptr<Program> program; // none: it could not be started
        QString error;                    // then why, for the report
    };
    // Opens path as a double click would (a program starts, a document or a
    // shortcut opens), shown normally, with its arguments, working in its own
    // folder (a bare name, found on the search path, in the current one).
    // Never elevated. On Linux a "\" of path is a separator, and the
    // arguments are split as a Windows program splits them (splitArguments).
    virtual Started startProgram(const QString &path, const QString &arguments);

    // Shows a window normally and to be seen: the runner is started hidden by
    // the tool's test run, and Windows may put a program's start-up show
    // command in place of its first window's. Without `activate` the window
    // leaves the keyboard where it is.
    void showNormally(QWidget *window, bool activate = true);

    // Whether this build ends the computer's session at all: the Linux build
    // runs on developers' and CI's machines, which it never ends.
    virtual bool canEndSession() const;
    enum class SessionEnd { Ended, Skipped, Failed };
    // Powers the computer off, or restarts it.
    virtual SessionEnd endSession(bool restart);

protected:
    // A document handed to an application, which counts as ended at once.
    static std::unique_ptr<Program> handedOver();
};

} // namespace nerubato
