// Saves what the display shows to a PNG: ./run uses it to show a headless
// start-up, docs/screenshots.sh a window with its frame (the region as
// xwininfo gives a window's geometry). Usage: screengrab OUTPUT.png [WxH+X+Y]
#include <QGuiApplication>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: screengrab OUTPUT.png [WxH+X+Y]\n");
        return 2;
    }
    QRect region(0, 0, -1, -1);
    if (argc == 3) {
        const auto match =
            QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)\\+(-?\\d+)\\+(-?\\d+)$"))
                .match(QString::fromLocal8Bit(argv[2]));
        if (!match.hasMatch()) {
            std::fprintf(stderr, "screengrab: %s is no WxH+X+Y\n", argv[2]);
            return 2;
        }
        region = QRect(match.captured(3).toInt(), match.captured(4).toInt(),
                       match.captured(1).toInt(), match.captured(2).toInt());
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0, region.x(), region.y(), region.width(), region.height())
                        .save(QString::fromLocal8Bit(argv[1])))
        return 1;
    return 0;
}
