#include "runner/RunnerApplication.h"
#include "settings/Errors.h"

using namespace nerubato;

// At most computer starts there is nothing to do (another day, outside the
// time window, done today): that is decided, reported and left without a
// window, before Qt's windowing is even started.
int main(int argc, char *argv[])
{
    runner::Start start;
    try {
        start = runner::prepare(StartFolder(QDir::currentPath()), QDateTime::currentDateTime());
    } catch (const Error &e) {
        runner::RunnerApplication app(argc, argv);
        return app.fail(e.text());
    }
    if (!start.plan)
        return 0;
    runner::RunnerApplication app(argc, argv);
    return app.run(std::move(start));
}
