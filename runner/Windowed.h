#pragma once

#include "Start.h"

// The runner's windows live in a library of their own (quorvexui), loaded
// only when a start has one to show: the usual start, whose conditions are
// not met, loads no GUI library at all.
namespace nerubato::runner {

// The library's one entry: it carries the run out, or tells of a failure,
// and returns the program's exit code.
using WindowedEntry = int (*)(int *argc, char **argv, Start *start);
inline constexpr char kWindowedEntry[] = "quorvexWindowed";

// Loads the windowed part from beside the program and hands it the start. A
// part that cannot be loaded runs nothing, and says so in the records.
int runWindowed(int &argc, char **argv, Start &&start);

} // namespace nerubato::runner
