#include "Application.h"

#include "shell/Messages.h"
#include "shell/TForm3.h"
#include "shell/WindowSet.h"

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
    return exec();
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        showErrorBox(m_platform, describe(e));
        return false;
    }
}

} // namespace nerubato
