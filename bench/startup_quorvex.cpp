// The runner as main.cpp starts it, in a folder whose registration runs now,
// ending once its countdown window is shown and idle.
#include "startup_probe.h"

#include "runner/RunnerApplication.h"

int main(int argc, char *argv[])
{
    startProbe();
    nerubato::runner::Start start = nerubato::runner::prepare(QDateTime::currentDateTime());
    if (!start.plan)
        return 1;
    nerubato::runner::RunnerApplication app(argc, argv);
    quitWhenShownAndIdle();
    return app.run(std::move(start));
}
