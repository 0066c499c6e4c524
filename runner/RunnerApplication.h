#pragma once

#include "Start.h"

#include <QApplication>

namespace nerubato::runner {

// The runner once it has something to show: the application with its icon
// and look, and the run on the real clock and platform.
class RunnerApplication : public QApplication
{
    Q_OBJECT

public:
    RunnerApplication(int &argc, char **argv);

    // Carries the run out; returns when nothing is left to do.
    int run(Start start);
    // The general error box, when even the report cannot be written.
    int fail(const QString &text);

private:
    Platform m_platform;
};

} // namespace nerubato::runner
