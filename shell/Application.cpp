#include "Application.h"

#include "shell/TForm3.h"
#include "shell/WindowSet.h"
#include "ui/Look.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>

// The icon lives in the shell's static library, and nothing refers to its
// registration: the linker would leave it out unless it is called.
static void initResources()
{
    Q_INIT_RESOURCE(nerubato);
}

namespace nerubato {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("nerubato"));
    // Only the platform's F1 handling would read this; no window carries a help context.
    setProperty("helpFile", QStringLiteral("A:\\nerubato\\vesprat.hlp"));
    // Set before any window exists, so each takes it as it is created. One
    // 64 px picture: Windows asks for 16 and 32 px, up to 32 and 64 at 200 %,
    // and X11 stores every pixel of every size the icon has on each window.
    // Raw pixels rather than a PNG or a file name: the first image decoded, or
    // the look through the icon engine plugins that a file name starts, would
    // cost the start-up a millisecond.
    initResources();
    QFile raw(QStringLiteral(":/nerubato-64.rgba"));
    raw.open(QIODevice::ReadOnly);
    const QByteArray pixels = raw.readAll();
    constexpr int kSide = 64;
    if (pixels.size() == kSide * kSide * 4)
        setWindowIcon(QIcon(QPixmap::fromImage(
            QImage(reinterpret_cast<const uchar *>(pixels.constData()), kSide, kSide,
                   QImage::Format_RGBA8888))));
    installLook();
}

int Application::run()
{
    WindowSet windows(m_platform);
    windows.forms().Form3->show();
    const int status = exec();
    windows.end();
    return status;
}

} // namespace nerubato
