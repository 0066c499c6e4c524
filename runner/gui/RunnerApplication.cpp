#include "RunnerApplication.h"

#include "FailureWindow.h"
#include "Run.h"
#include "runner/core/Texts.h"
#include "ui/Look.h"
#include "ui/Messages.h"

#include <QTimer>

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
    // Its windows come and go between the countdown and the end of Windows.
    setQuitOnLastWindowClosed(false);
    initResources();
    setRawWindowIcon(QStringLiteral(":/quorvex-64.rgba"));
    installLook();
}

int RunnerApplication::carryOut(Start start)
{
    if (start.plan) {
        Run run(m_platform, &QDateTime::currentDateTime, std::move(start));
        connect(&run, &Run::finished, this, &QCoreApplication::quit, Qt::QueuedConnection);
        run.begin();
        return exec();
    }
    if (start.marker) {
        showErrorBox(m_platform, start.record.reportError);
        return 1;
    }
    FailureWindow window(m_platform);
    connect(&window, &FailureWindow::closed, this, &QCoreApplication::quit, Qt::QueuedConnection);
    QTimer::singleShot(FailureWindow::kShownSeconds * 1000, &window, &QWidget::close);
    window.tell(failures(start.record), start.folder.historyPath(), QDateTime::currentDateTime());
    exec();
    return 1;
}

} // namespace nerubato::runner
