#include "Application.h"

#include "shell/TForm3.h"
#include "shell/WindowSet.h"
#include "ui/Look.h"

namespace nerubato {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("nerubato"));
    // Only the platform's F1 handling would read this; no window carries a help context.
    setProperty("helpFile", QStringLiteral("A:\\nerubato\\vesprat.hlp"));
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
