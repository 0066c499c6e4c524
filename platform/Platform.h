#pragma once

#include <QString>
#include <QStringList>

#include <functional>

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
    virtual Listing listDirectory(const QString &path, Entries entries,
                                  const std::function<bool()> &dropped, QStringList &names);
};

// The real platform, less the beep: for the tools, the benchmarks and the
// tests that run the real thing beside other work.
class SilentPlatform : public Platform
{
public:
    void messageBeep() override {}
};

} // namespace nerubato
