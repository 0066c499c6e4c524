// The runner as main.cpp starts it, in a folder whose registration runs now,
// ending once its countdown window is shown and idle.
#include "startup_probe.h"

#include "runner/gui/RunnerApplication.h"

int main(int argc, char *argv[])
{
    startProbe();
    using namespace nerubato;
    runner::Start start = runner::prepare(StartFolder(QDir::currentPath()), QDateTime::currentDateTime());
    if (!start.plan)
        return 1;
    runner::RunnerApplication app(argc, argv);
    quitWhenShownAndIdle();
    return app.carryOut(std::move(start));
}
