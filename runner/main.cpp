#include "runner/Windowed.h"

using namespace nerubato;

// At most computer starts there is nothing to do (another day, outside the
// time window, done today): that is decided, told and left without a window,
// before any GUI library is even loaded.
int main(int argc, char *argv[])
{
    runner::Start start =
        runner::prepare(StartFolder(QDir::currentPath()), QDateTime::currentDateTime());
    if (runner::sequel(start) == runner::Sequel::None)
        return 0;
    return runner::runWindowed(argc, argv, std::move(start));
}
