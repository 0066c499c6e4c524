// The file chooser on a directory of many files: how long the UI thread stalls
// at worst while the list reads it and how soon the first names show; then the
// same stalls while the tree reads it (its row expanded), while files are
// added and removed among those shown, and when the list leaves the directory
// and comes back.
//
// A 1 ms timer ticks on the UI thread; the largest gap between two ticks is the
// longest stall. Usage: bench_chooser [file count, default 100000] [directory]
// With a directory, the files are made there once and reused by later runs.
#include "FoundWindows.h"
#include "chooser/DirectoryTreeModel.h"
#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "platform/Platform.h"
#include "shell/WindowSet.h"
#include "ui/Look.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <thread>
#include <vector>

using namespace nerubato;

namespace {

// The real platform, less the beep: nothing sounds while it is measured.
class SilentPlatform : public Platform
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

// Names that fall between the made ones, spread over the whole list.
QStringList scatteredNames(int count, int among)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("ファイル_%1_追加.exe")
                     .arg(qint64(i) * among / count, 6, 10, QLatin1Char('0'));
    return names;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    installLook();
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    constexpr int kScattered = 1000;

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
    SilentPlatform platform;
    WindowSet windows(platform);
    Forms forms = Forms::found(platform);
    auto *list = forms.sForm->findChild<QListView *>(QStringLiteral("FileLBox"));
    auto *tree = forms.sForm->findChild<QTreeView *>(QStringLiteral("Dirline"));
    auto *directories = qobject_cast<DirectoryTreeModel *>(tree->model());
    const int parentFiles = int(QDir(big + QStringLiteral("/..")).entryList(QDir::Files).size());

    // Each phase starts with an action and ends two seconds after what it
    // waits for, so that late sorting and layout count too.
    struct Phase
    {
        const char *name;
        std::function<void()> start;
        qint64 started = -1, done = -1, firstNames = -1;
        qint64 worstGap = 0, worstGapCpu = 0, worstAt = 0, worstCpu = 0;
        int stallsOver50 = 0;
    };
    QPersistentModelIndex bigRow;
    qint64 treeRead = -1;
    std::vector<Phase> phases;
    phases.push_back(
        {"opening the chooser on it",
         [&] { forms.Form1->findChild<QPushButton *>(QStringLiteral("sansyo_Btn1"))->click(); }});
    phases.push_back({"expanding its row in the tree", [&] {
                          bigRow = tree->currentIndex();
                          tree->expand(bigRow);
                      }});
    // Off the UI thread: making the files is not the chooser's work.
    std::thread writer;
    const QStringList scattered = scatteredNames(kScattered, count);
    phases.push_back({"1,000 files added among them while shown", [&] {
                          writer = std::thread([&] {
                              for (const QString &name : scattered)
                                  QFile(big + u'/' + name).open(QIODevice::WriteOnly);
                          });
                      }});
    phases.push_back({"the same files removed again", [&] {
                          writer.join();
                          writer = std::thread([&] {
                              for (const QString &name : scattered)
                                  QFile::remove(big + u'/' + name);
                          });
                      }});
    phases.push_back({"going up to its parent", [&] {
                          writer.join();
                          tree->setCurrentIndex(QModelIndex(bigRow).parent());
                      }});
    phases.push_back({"coming back to it", [&] { tree->setCurrentIndex(bigRow); }});
    std::size_t current = 0;
    // The tree reads the directory too, for the directories in it.
    QObject::connect(directories, &DirectoryTreeModel::directoryLoaded, [&](const QString &path) {
        if (treeRead < 0 && QFileInfo(path) == QFileInfo(big))
            treeRead = clock.elapsed();
    });

    qint64 last = -1, lastCpu = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        const qint64 cpu = threadCpuMs();
        Phase &phase = phases[current];
        if (last >= 0 && phase.started >= 0) {
            if (now - last > 50)
                ++phase.stallsOver50;
            if (now - last > phase.worstGap) {
                phase.worstGap = now - last;
                phase.worstGapCpu = cpu - lastCpu;
                phase.worstAt = now - phase.started;
            }
            phase.worstCpu = std::max(phase.worstCpu, cpu - lastCpu);
        }
        last = now;
        lastCpu = cpu;
        if (phase.started < 0) {
            phase.started = now;
            phase.start();
            return;
        }
        const int rows = list->model()->rowCount();
        if (current == 0 && phase.firstNames < 0 && list->indexAt(QPoint(2, 2)).isValid())
            phase.firstNames = now - phase.started;
        const int expected = current == 2 ? count + kScattered : current == 4 ? parentFiles : count;
        const bool loaded = rows == expected;
        if (phase.done < 0 && loaded && (current != 1 || treeRead >= 0))
            phase.done = now;
        if ((phase.done >= 0 && now - phase.done > 2000) || now - phase.started > 60000) {
            if (++current == phases.size())
                app.quit();
        }
    });

    clock.restart();
    QTimer::singleShot(50, [&] { probe.start(); });
    app.exec();
    QDir::setCurrent(previous);

    for (const Phase &phase : phases) {
        std::printf("%s:\n", phase.name);
        std::printf(
            "  longest UI stall:        %lld ms (at %lld ms; UI thread busy %lld ms of it)\n",
            phase.worstGap, phase.worstAt, phase.worstGapCpu);
        std::printf("  most UI-thread CPU between two ticks: %lld ms\n", phase.worstCpu);
        std::printf("  stalls over 50 ms:       %d\n", phase.stallsOver50);
        if (phase.firstNames >= 0)
            std::printf("  first names in FileLBox: %lld ms\n", phase.firstNames);
        std::printf("  done in:                 %lld ms\n",
                    phase.done < 0 ? -1 : phase.done - phase.started);
    }
    std::printf("rows at the end: %d of %d\n", list->model()->rowCount(), count);
    return 0;
}
