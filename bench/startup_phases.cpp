// Where the start-up goes, phase by phase, measured inside the process from
// the entry of main(): the application object, the look, each window's
// creation (as the window set makes them, in the program's order), the first
// show of the main window until the event loop is idle. What comes before
// main() (loading the libraries) is the rest of bench_startup's figure.
//
//   QT_QPA_PLATFORM=offscreen startup_phases [runs]   (it runs itself again)
#include "startup_probe.h"

#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "platform/Platform.h"
#include "shell/TForm3.h"
#include "storage/TForm2.h"
#include "ui/Look.h"

#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

using namespace nerubato;

int main(int argc, char *argv[])
{
    if (argc > 1 && QByteArray(argv[1]) != "--once") {
        const int runs = std::max(1, atoi(argv[1]));
        std::map<QString, std::vector<double>> phases;
        QStringList order;
        for (int i = 0; i < runs; ++i) {
            QProcess once;
            once.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--once")});
            once.waitForFinished();
            for (const QByteArray &line : once.readAllStandardOutput().split('\n')) {
                const int space = line.lastIndexOf(' ');
                if (space < 0)
                    continue;
                const QString name = QString::fromUtf8(line.left(space));
                if (!order.contains(name))
                    order << name;
                phases[name].push_back(line.mid(space + 1).toDouble());
            }
        }
        std::printf("start-up phases from main(), median of %d runs (ms)\n", runs);
        for (const QString &name : order) {
            auto &v = phases[name];
            std::sort(v.begin(), v.end());
            std::printf("  %-34s %6.2f\n", qPrintable(name), v[v.size() / 2]);
        }
        return 0;
    }
    QElapsedTimer t;
    t.start();
    double last = 0;
    const auto phase = [&](const char *name) {
        const double now = t.nsecsElapsed() / 1e6;
        std::printf("%s %.3f\n", name, now - last);
        last = now;
    };
    QApplication app(argc, argv);
    phase("application object");
    installLook();
    phase("the look");
    Platform platform;
    const StartFolder folder(QDir::currentPath());
    auto form3 = std::make_unique<TForm3>(platform, folder);
    phase("main window (TForm3) created");
    auto form1 = std::make_unique<TForm1>(platform, folder);
    phase("editor (TForm1) created");
    auto form2 = std::make_unique<TForm2>(platform, folder);
    phase("slot chooser (TForm2) created");
    auto sForm = std::make_unique<TsForm>(platform);
    phase("file chooser (TsForm) created");
    form3->FormCreate();
    form1->FormCreate();
    form2->FormCreate();
    sForm->FormCreate();
    phase("creation handlers");
    form3->show();
    whenShownAndIdle([&] {
        phase("main window shown, loop idle");
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return app.exec();
}
