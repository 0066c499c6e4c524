// Starts the program and the bare yardstick alternately, many times, and
// prints the medians of the time from the start of the process to its first
// idle moment with the main window shown, of the CPU time until then and of
// the peak memory until then, with their ratios. Then the same for the first
// opening of the editor, the slot chooser and the file chooser, each against a
// bare window of the same size opened the same way. Then the runner
// quorvex.exe: its common start, conditions not met, from the process's start
// to its exit, and a start that runs, to its countdown window shown and idle,
// each against the bare program's start.
//
//   bench_startup [runs] (default 30)
#include "settings/RunnerContract.h"
#include "settings/ScheduleSettings.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTime>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

namespace {

double monotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Runs the program (in dir, if given) and returns what it printed; endedMs
// and peakKiB, if given, get the moment it ended and its peak memory.
std::string runOnce(const std::vector<std::string> &command, double &startedMs,
                    const char *dir = nullptr, double *endedMs = nullptr, long *peakKiB = nullptr)
{
    int out[2];
    if (pipe(out) != 0)
        std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (dir)
        posix_spawn_file_actions_addchdir_np(&actions, dir);
    std::vector<char *> argv;
    for (const std::string &arg : command)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    startedMs = monotonicMs();
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::perror(argv[0]);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (endedMs)
        *endedMs = monotonicMs();
    if (peakKiB)
        *peakKiB = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    return text;
}

template <typename T> T median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Start
{
    std::vector<double> ms, cpu, kib, main;
};

void startOnce(const std::string &program, Start &into, const char *dir = nullptr)
{
    double started = 0;
    const std::string line = runOnce({program}, started, dir);
    double idle = 0, cpu = 0, kib = 0, fromMain = 0;
    if (std::sscanf(line.c_str(), "idle %lf cpu %lf peak %lf main %lf", &idle, &cpu, &kib,
                    &fromMain) != 4) {
        std::fprintf(stderr, "%s printed no figures\n", program.c_str());
        std::exit(1);
    }
    into.ms.push_back(idle - started);
    into.cpu.push_back(cpu);
    into.kib.push_back(kib);
    into.main.push_back(fromMain);
}

double openOnce(const std::vector<std::string> &command)
{
    double started = 0;
    const std::string line = runOnce(command, started);
    double ms = 0;
    if (std::sscanf(line.c_str(), "open %lf", &ms) != 1) {
        std::fprintf(stderr, "%s printed no figure\n", command[0].c_str());
        std::exit(1);
    }
    return ms;
}

// A folder whose registration the runner reads: a program to run and a long
// countdown, in a time window that holds now or, two hours ahead, does not.
std::string registrationFolder(QTemporaryDir &dir, bool now)
{
    using namespace nerubato;
    ScheduleSettings s;
    s.jikko_Path[0] = "notepad.exe";
    s.message_Sec = "900";
    if (!now) {
        const QTime later = QTime::currentTime().addSecs(2 * 3600);
        s.kara_Time = later.toString(u"HH:mm").toLatin1();
        s.made_Time = later.addSecs(3600).toString(u"HH:mm").toLatin1();
    }
    saveLines(QDir(dir.path()), runner::kRegistrationFile, settingsToLines(s));
    return dir.path().toStdString();
}

} // namespace

int main(int argc, char *argv[])
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    // Absolute: the runner's probes start in folders of their own.
    std::string dir = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath().toStdString() + '/';

    Start program, bare, warm;
    startOnce(dir + "startup_nerubato", warm); // the page cache warm for both
    startOnce(dir + "startup_bare", warm);
    for (int i = 0; i < runs; ++i) {
        startOnce(dir + "startup_nerubato", program);
        startOnce(dir + "startup_bare", bare);
    }
    std::printf("start-up to the first idle moment (%d runs each, alternating)\n", runs);
    std::printf("  nerubato   median %7.1f ms   cpu %7.1f ms   peak memory %6.0f KiB\n",
                median(program.ms), median(program.cpu), median(program.kib));
    std::printf("  bare Qt    median %7.1f ms   cpu %7.1f ms   peak memory %6.0f KiB\n",
                median(bare.ms), median(bare.cpu), median(bare.kib));
    std::printf("  ratio      time %.2f   cpu %.2f   memory %.2f   (targets 1.2, 1.3)\n",
                median(program.ms) / median(bare.ms), median(program.cpu) / median(bare.cpu),
                median(program.kib) / median(bare.kib));
    std::printf("  from main() to idle: %.1f ms vs %.1f ms, ratio %.2f\n", median(program.main),
                median(bare.main), median(program.main) / median(bare.main));

    struct Window
    {
        const char *name, *which, *width, *height;
    };
    const Window windows[] = {{"editor", "editor", "602", "403"},
                              {"slot chooser", "slots", "226", "262"},
                              {"file chooser", "files", "463", "304"}};
    std::printf("first opening, press to shown and idle (%d runs each, alternating)\n", runs);
    for (const Window &w : windows) {
        std::vector<double> ours, yardstick;
        for (int i = 0; i < runs; ++i) {
            ours.push_back(openOnce({dir + "firstopen_nerubato", w.which}));
            yardstick.push_back(openOnce({dir + "firstopen_bare", w.width, w.height}));
        }
        std::printf("  %-12s median %6.1f ms vs %6.1f ms bare   ratio %.2f\n", w.name, median(ours),
                    median(yardstick), median(ours) / median(yardstick));
    }

    QTemporaryDir notMetDir, runDir;
    const std::string notMet = registrationFolder(notMetDir, false);
    const std::string runFolder = registrationFolder(runDir, true);
    const std::string runner = dir + "../quorvex.exe";
    Start countdown, yardstick;
    std::vector<double> exitMs;
    std::vector<double> exitKib;
    for (int i = 0; i < runs; ++i) {
        double started = 0, ended = 0;
        long kib = 0;
        runOnce({runner}, started, notMet.c_str(), &ended, &kib);
        exitMs.push_back(ended - started);
        exitKib.push_back(double(kib));
        startOnce(dir + "startup_quorvex", countdown, runFolder.c_str());
        startOnce(dir + "startup_bare", yardstick);
    }
    std::printf("quorvex.exe (%d runs each, alternating)\n", runs);
    std::printf("  conditions not met, start to exit   median %6.1f ms   peak memory %6.0f KiB\n",
                median(exitMs), median(exitKib));
    std::printf("  a run, start to its countdown shown median %6.1f ms   peak memory %6.0f KiB\n",
                median(countdown.ms), median(countdown.kib));
    std::printf("  bare Qt, start to idle shown         median %6.1f ms   peak memory %6.0f KiB\n",
                median(yardstick.ms), median(yardstick.kib));
    std::printf("  ratio  not met %.2f (target 0.4)  countdown %.2f (target 1.2)  memory %.2f / %.2f\n",
                median(exitMs) / median(yardstick.ms), median(countdown.ms) / median(yardstick.ms),
                median(exitKib) / median(yardstick.kib), median(countdown.kib) / median(yardstick.kib));
    return 0;
}
