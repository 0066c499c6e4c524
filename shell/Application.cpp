#include "Application.h"

#include "shell/TForm3.h"
#include "shell/WindowSet.h"
#include "ui/Look.h"

#include <QIcon>
#include <QPixmap>

// The icon lives in the shell's static library, and nothing refers to its
// registration: the linker would leave it out unless it is called.
static void initResources()
{
    Q_INIT_RESOURCE(nerubato);
}

namespace nerubato {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("nerubato"));
    // Only the platform's F1 handling would read this; no window carries a help context.
    setProperty("helpFile", QStringLiteral("A:\\nerubato\\vesprat.hlp"));
    // Set before any window exists, so each takes it as it is created. One
    // 64 px picture: Windows asks for 16 and 32 px, up to 32 and 64 at 200 %,
    // and X11 stores every pixel of every size the icon has on each window.
    // A pixmap rather than a file name spares the look through the icon engine
    // plugins that a file name starts.
    initResources();
    setWindowIcon(QIcon(QPixmap(QStringLiteral(":/nerubato-64.png"))));
    installLook();
}

int Application::run()
{
    WindowSet windows(m_platform);
    windows.forms().Form3->show();
    const int status = exec();
    windows.end();
    return status;
}

} // namespace nerubato
