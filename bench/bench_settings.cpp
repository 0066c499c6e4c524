// The settings round trip per file: load + linesToSettings + settingsToLines +
// save without the sync (joinLines and a plain write). The atomic save with its
// sync is timed apart: its cost is the disk's, not ours.
//
//   bench_settings [iterations]

#include "settings/ScheduleSettings.h"
#include "settings/SettingsFile.h"
#include "testcore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

using namespace nerubato;

namespace {

struct Figures
{
    double median, mean, p99, max; // microseconds
};

Figures figures(std::vector<qint64> ns)
{
    std::sort(ns.begin(), ns.end());
    const double sum = std::accumulate(ns.begin(), ns.end(), 0.0);
    return {ns[ns.size() / 2] / 1000.0, sum / ns.size() / 1000.0,
            ns[std::min(ns.size() - 1, ns.size() * 99 / 100)] / 1000.0, ns.back() / 1000.0};
}

void print(const char *what, int runs, const Figures &f)
{
    std::printf("%-56s %6d runs  median %8.1f us  mean %8.1f us  p99 %8.1f us  max %8.1f us\n",
                what, runs, f.median, f.mean, f.p99, f.max);
}

bool writeWithoutSync(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(10, std::atoi(argv[1])) : 5000;
    QTemporaryDir dir;
    if (!dir.isValid())
        return 2;
    const QString source = dir.filePath("hozondt1.dat");
    const QString target = dir.filePath("kidodata.dat");
    const QByteArray bytes = joinLines(settingsToLines(test::changedRecord()));
    if (!writeWithoutSync(source, bytes))
        return 2;

    // One round trip per iteration, timed whole and by phase; the first tenth
    // warms the caches up and is not counted.
    std::vector<qint64> roundTrip, loading, converting, writing;
    for (auto *v : {&roundTrip, &loading, &converting, &writing})
        v->reserve(runs);
    QElapsedTimer timer;
    for (int i = -runs / 10; i < runs; ++i) {
        timer.start();
        const Lines lines = loadLines(QDir(), source);
        const qint64 loaded = timer.nsecsElapsed();
        ScheduleSettings s;
        linesToSettings(lines, s);
        const QByteArray out = joinLines(settingsToLines(s));
        const qint64 converted = timer.nsecsElapsed();
        if (!writeWithoutSync(target, out))
            return 2;
        const qint64 written = timer.nsecsElapsed();
        if (i >= 0) {
            roundTrip.push_back(written);
            loading.push_back(loaded);
            converting.push_back(converted - loaded);
            writing.push_back(written - converted);
        }
    }
    if (QFile(target).size() != bytes.size())
        return 2; // the round trip must give back the same file

    // The atomic save, sync included, on whatever disk the temporary directory is.
    const int saveRuns = std::max(10, runs / 25);
    std::vector<qint64> atomicSave;
    for (int i = 0; i < saveRuns; ++i) {
        timer.start();
        saveBytes(QDir(), target, bytes);
        atomicSave.push_back(timer.nsecsElapsed());
    }

    std::printf("settings file of %lld bytes, 49 lines, in %s\n",
                static_cast<long long>(bytes.size()), qPrintable(QDir::tempPath()));
    const Figures trip = figures(roundTrip);
    print("load + lines<->record + save, no sync", runs, trip);
    print("  of which loadLines", runs, figures(loading));
    print("  of which linesToSettings + settingsToLines + joinLines", runs, figures(converting));
    print("  of which the write, no sync", runs, figures(writing));
    print("saveBytes (temporary file, sync, rename)", saveRuns, figures(atomicSave));
    const bool met = trip.median < 1000.0;
    std::printf("round trip target < 1000 us: %s\n", met ? "met" : "MISSED");
    return met ? 0 : 1;
}
