#pragma once

#include <QString>
#include <QStringList>

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

    virtual ~Platform() = default;

    virtual void messageBeep();
    // Opens a file through the shell; an empty directory means the current one.
    // The result is not reported.
    virtual void shellLaunch(QWidget *owner, const QString &file, const QString &parameters,
                             const QString &directory, int showCommand);
    // The roots of the drives that can be browsed.
    virtual QStringList drives();
};

} // namespace nerubato
