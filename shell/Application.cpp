#include "Application.h"

#include "shell/TForm3.h"
#include "shell/WindowSet.h"
#include "ui/Look.h"

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
    // Set before any window exists, so each takes it as it is created.
    initResources();
    setRawWindowIcon(QStringLiteral(":/nerubato-64.rgba"));
    installLook();
}

int Application::run()
{
    WindowSet windows(m_platform);
    windows.mainWindow().show();
    const int status = exec();
    windows.end();
    return status;
}

} // namespace nerubato
