#pragma once

// The whole program, for flows that cross windows.

#include "shell/Application.h"
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

// NERUBATO_TEST_MAIN on the program's own application object, made as main()
// makes it: what it sets up for every window is under test too.
#define NERUBATO_PROGRAM_TEST_MAIN(TestObject)                                                     \
    QTEST_MAIN_WRAPPER(TestObject, QTEST_QAPP_SETUP(nerubato::Application)                         \
                                       QTEST_DISABLE_KEYPAD_NAVIGATION                             \
                                           nerubato::test::DialogGuard dialogGuard;)
