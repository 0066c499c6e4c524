#include "runner/Run.h"
#include "settings/Errors.h"
#include "ui/Look.h"
#include "ui/Messages.h"

#include <QApplication>

using namespace nerubato;

// The icon lives in the runner's static library, and nothing refers to its
// registration: the linker would leave it out unless it is called.
static void initResources()
{
    Q_INIT_RESOURCE(quorvex);
}

// At most computer starts there is nothing to do (another day, outside the
// time window, done today): that is decided, reported and left without a
// window, before Qt's windowing is even started.
int main(int argc, char *argv[])
{
    runner::Start start;
    try {
        start = runner::prepare(QDateTime::currentDateTime());
    } catch (const Error &e) {
        QApplication app(argc, argv);
        installLook();
        Platform platform;
        showErrorBox(platform, e.text());
        return 1;
    }
    if (!start.plan)
        return 0;

    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("quorvex"));
    app.setQuitOnLastWindowClosed(false);
    initResources();
    setRawWindowIcon(QStringLiteral(":/quorvex-64.rgba"));
    installLook();
    Platform platform;
    runner::Run run(platform, &QDateTime::currentDateTime, std::move(start));
    QObject::connect(&run, &runner::Run::finished, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    run.begin();
    return app.exec();
}
