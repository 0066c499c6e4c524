// The program as main.cpp starts it, ending once its main window is idle.
#include "startup_probe.h"

#include "shell/Application.h"

int main(int argc, char *argv[])
{
    startProbe();
    nerubato::Application app(argc, argv);
    quitWhenShownAndIdle();
    return app.run();
}
