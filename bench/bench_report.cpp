// The runner's report when the runner goes on logging after its seven lines:
// what reading the report costs in time and in peak memory, for a report of
// the given size (default 400 MB), against reading the whole file as a plain
// load does. Usage: bench_report [megabytes] [directory]
// The report is written once into the directory (default: a temporary one).
#include "settings/RunnerContract.h"
#include "settings/StartFolder.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using namespace nerubato;

namespace {

// The process's peak resident memory so far, in KiB (0 where unknown).
long peakKiB()
{
#ifdef Q_OS_UNIX
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return 0;
#endif
}

bool writeReport(const QString &path, qint64 bytes)
{
    QFile file(path);
    if (file.exists() && file.size() >= bytes)
        return true;
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("\x90\xb3\x8f\xed\x8f\x49\x97\xb9\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
    const QByteArray line = QByteArray(118, 'x') + "\r\n";
    QByteArray block;
    while (block.size() < (1 << 20))
        block += line;
    while (file.size() < bytes)
        file.write(block);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 400;
    QTemporaryDir temporary;
    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path();
    const QString report = dir + QStringLiteral("/errormsg.txt");
    if (!writeReport(report, megabytes << 20)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(report));
        return 1;
    }

    const long before = peakKiB();
    QElapsedTimer timer;
    timer.start();
    const QString shown = StartFolder(dir).readReport();
    const qint64 headNs = timer.nsecsElapsed();
    const long afterHead = peakKiB();
    std::printf("report of %lld MB: read and shown lines %lld bytes of text\n", megabytes,
                qlonglong(shown.size()));
    std::printf("  readReport (seven lines):      %.3f ms, peak memory +%ld KiB\n",
                headNs / 1e6, afterHead - before);

    timer.restart();
    const Lines all = loadLines(QDir(), report);
    const qint64 wholeNs = timer.nsecsElapsed();
    std::printf("  the whole file split in lines:  %.1f ms, peak memory +%ld KiB (%lld lines)\n",
                wholeNs / 1e6, peakKiB() - afterHead, qlonglong(all.size()));
    return 0;
}
