// The file chooser opened on a directory of many files: how long the UI thread
// stalls at worst while the list loads, and how soon the first names show.
//
// A 1 ms timer ticks on the UI thread; the largest gap between two ticks is the
// longest stall. Usage: bench_chooser [file count, default 100000] [directory]
// With a directory, the files are made there once and reused by later runs.
#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "platform/Platform.h"
#include "shell/Messages.h"
#include "shell/WindowSet.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace nerubato;

namespace {

// Never beeps or launches anything; drives are the machine's.
class QuietPlatform : public Platform
{
public:
    void messageBeep() override {}
};

// CPU time of the calling thread: tells a stall of work on the UI thread from
// one where the thread merely waited (for a core, on a busy machine).
qint64 threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void makeFiles(const QString &directory, int count)
{
    for (int i = 0; i < count; ++i) {
        QFile file(
            QStringLiteral("%1/ファイル_%2.exe").arg(directory).arg(i, 6, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", qPrintable(file.fileName()));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    installLook();
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;

    QTemporaryDir temp;
    const QString big =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.filePath(QStringLiteral("many"));
    QDir().mkpath(big);
    QElapsedTimer clock;
    clock.start();
    if (QDir(big).entryList(QDir::Files).size() != count) {
        makeFiles(big, count);
        std::printf("created %d files in %lld ms\n", count, clock.elapsed());
    }

    // The chooser's first opening shows the process's current directory.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(big);
    QuietPlatform platform;
    WindowSet windows(platform);
    Forms &forms = windows.forms();
    auto *list = forms.sForm->findChild<QListView *>(QStringLiteral("FileLBox"));

    qint64 last = -1, worstGap = 0, worstAt = 0, firstNames = -1, allRows = -1;
    qint64 lastCpu = 0, worstGapCpu = 0, worstCpu = 0;
    int stallsOver50 = 0;
    qint64 openStarted = -1;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        const qint64 cpu = threadCpuMs();
        if (last >= 0 && openStarted >= 0) {
            if (now - last > 50)
                ++stallsOver50;
            if (now - last > worstGap) {
                worstGap = now - last;
                worstGapCpu = cpu - lastCpu;
                worstAt = now - openStarted;
            }
            worstCpu = std::max(worstCpu, cpu - lastCpu);
        }
        last = now;
        lastCpu = cpu;
        if (openStarted < 0)
            return;
        if (firstNames < 0 && list->indexAt(QPoint(2, 2)).isValid())
            firstNames = now - openStarted;
        if (allRows < 0 && list->model()->rowCount(list->rootIndex()) == count)
            allRows = now - openStarted;
        // Keep watching a while after the last row for late sorting and layout.
        if ((allRows >= 0 && now - openStarted > allRows + 2000) || now - openStarted > 60000)
            app.quit();
    });

    clock.restart();
    probe.start();
    QTimer::singleShot(50, [&] {
        openStarted = clock.elapsed();
        forms.Form1->browse(1);
    });
    app.exec();
    QDir::setCurrent(previous);

    std::printf("longest UI stall:        %lld ms (at %lld ms after opening; UI thread busy %lld "
                "ms of it)\n",
                worstGap, worstAt, worstGapCpu);
    std::printf("most UI-thread CPU between two ticks: %lld ms\n", worstCpu);
    std::printf("stalls over 50 ms:       %d\n", stallsOver50);
    std::printf("first names in FileLBox: %lld ms\n", firstNames);
    std::printf("all %d rows in the model: %lld ms (rows at the end: %d, root %s)\n", count,
                allRows, list->model()->rowCount(list->rootIndex()),
                qPrintable(list->rootIndex().data().toString()));
    return 0;
}
