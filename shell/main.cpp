#include "shell/Application.h"

int main(int argc, char *argv[])
{
    nerubato::Application app(argc, argv);
    return app.run();
}
