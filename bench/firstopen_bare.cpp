// The yardstick of a first opening: a bare Qt program whose main window has a
// button that shows a second, empty window of the given size; the time from
// the press to that window shown, exposed and idle is printed (ms).
// Usage: firstopen_bare WIDTH HEIGHT
#include "startup_probe.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <cstdlib>

int main(int argc, char *argv[])
{
    const int width = argc > 2 ? std::atoi(argv[1]) : 602;
    const int height = argc > 2 ? std::atoi(argv[2]) : 403;
    QApplication app(argc, argv);
    QWidget main;
    main.resize(309, 148);
    auto *button = new QPushButton(QStringLiteral("設定ファイルの作成及び登録"), &main);
    button->setGeometry(30, 12, 249, 25);
    QWidget second;
    second.setWindowTitle(QStringLiteral("設定ファイル作成画面"));
    second.resize(width, height);
    QObject::connect(button, &QPushButton::clicked, &second, [&] { second.show(); });
    QElapsedTimer pressed;
    main.show();
    whenShownAndIdle(
        [&] {
            whenShownAndIdle(
                [&] {
                    std::printf("open %.3f\n", pressed.nsecsElapsed() / 1e6);
                    std::fflush(stdout);
                    QCoreApplication::quit();
                },
                &second);
            pressed.start();
            QTest::mouseClick(button, Qt::LeftButton);
        },
        &main);
    return app.exec();
}
