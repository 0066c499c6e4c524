// The yardstick: a bare Qt Widgets program that shows one window.
#include "startup_probe.h"

#include <QPushButton>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(309, 148);
    auto *button = new QPushButton(QStringLiteral("OK"), &window);
    button->move(30, 12);
    window.show();
    quitWhenShownAndIdle();
    return app.exec();
}
