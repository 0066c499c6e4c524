#pragma once

// The whole program, for flows that cross windows.

#include "shell/WindowSet.h"
#include "testui.h"

namespace nerubato::test {

// The whole program on a fake platform, in a fresh working directory; it ends
// as the program does, with the editor's end before the windows go.
struct Program
{
    WorkDir dir;
    FakePlatform platform;
    WindowSet windows{platform};
    Forms &forms() { return windows.forms(); }
    ~Program() { windows.end(); }
};

} // namespace nerubato::test
