#pragma once

#include "platform/Platform.h"

#include <QApplication>

namespace nerubato {

class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    // Creates the four windows, shows the main one and runs until it closes;
    // then the editor's end, while the windows are still there.
    int run();
    Platform &platform() { return m_platform; }

private:
    Platform m_platform;
};

} // namespace nerubato
