#include "RunnerApplication.h"

#include "Run.h"
#include "ui/Look.h"
#include "ui/Messages.h"

// The icon lives in the runner's static library, and nothing refers to its
// registration: the linker would leave it out unless it is called.
static void initResources()
{
    Q_INIT_RESOURCE(quorvex);
}

namespace nerubato::runner {

RunnerApplication::RunnerApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("quorvex"));
    // Its window comes and goes between the countdown and the end of Windows.
    setQuitOnLastWindowClosed(false);
    initResources();
    setRawWindowIcon(QStringLiteral(":/quorvex-64.rgba"));
    installLook();
}

int RunnerApplication::run(Start start)
{
    Run run(m_platform, &QDateTime::currentDateTime, std::move(start));
    connect(&run, &Run::finished, this, &QCoreApplication::quit, Qt::QueuedConnection);
    run.begin();
    return exec();
}

int RunnerApplication::fail(const QString &text)
{
    showErrorBox(m_platform, text);
    return 1;
}

} // namespace nerubato::runner
