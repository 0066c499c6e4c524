#pragma once

#include "platform/Platform.h"
#include "runner/Start.h"

#include <QApplication>

namespace nerubato::runner {

// The runner once it has something to show: the application with its icon
// and look, on the real clock and platform.
class RunnerApplication : public QApplication
{
    Q_OBJECT

public:
    RunnerApplication(int &argc, char **argv);

    // Carries the run out, or tells of the start's failure: at a real start
    // in the failure window, in a test run in the general error box (the
    // report the tool would show could not be written). Returns when nothing
    // is left to do.
    int carryOut(Start start);

private:
    Platform m_platform;
};

} // namespace nerubato::runner
