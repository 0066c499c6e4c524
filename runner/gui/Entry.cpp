#include "RunnerApplication.h"
#include "runner/Windowed.h"

#include <type_traits>

// What quorvex.exe looks for once a start has a window to show: from here on
// the start has its application, its look and its windows.
extern "C" Q_DECL_EXPORT int quorvexWindowed(int *argc, char **argv, nerubato::runner::Start *start)
{
    nerubato::runner::RunnerApplication app(*argc, argv);
    return app.carryOut(std::move(*start));
}

static_assert(std::is_same_v<decltype(&quorvexWindowed), nerubato::runner::WindowedEntry>);
