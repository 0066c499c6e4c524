#pragma once

// What the start-up benchmarks measure, at the moment a user could start
// clicking: a top-level window shown, exposed, and the event loop with nothing
// left to do. The probe then prints one line and ends the program:
//
//   idle <ms> cpu <ms> peak <KiB> main <ms>
//
// ms: on Linux the CLOCK_MONOTONIC time of that moment (the driver subtracts
// the time it started the process); on Windows the time since the process
// was created, as the system recorded it. cpu: user + system time so far.
// peak: the peak resident (Linux) or working-set (Windows) size so far.
// main: the time from the entry of main() (startProbe()), which leaves out
// loading the program and its libraries: under Wine that is most of the rest.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <functional>

#ifdef Q_OS_WIN
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>
#else
#include <sys/resource.h>
#include <time.h>
#endif

#include <QElapsedTimer>

inline QElapsedTimer &sinceMain()
{
    static QElapsedTimer timer;
    return timer;
}

// The first thing in main().
inline void startProbe()
{
    sinceMain().start();
}

inline void printProbe()
{
    const double mainMs = sinceMain().isValid() ? sinceMain().nsecsElapsed() / 1e6 : -1;
#ifdef Q_OS_WIN
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME &t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("idle %.3f cpu %.3f peak %llu main %.3f\n", (ticks(now) - ticks(created)) / 1e4,
                (ticks(kernel) + ticks(user)) / 1e4,
                static_cast<unsigned long long>(memory.PeakWorkingSetSize / 1024), mainMs);
#else
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    std::printf("idle %.3f cpu %.3f peak %ld main %.3f\n", now.tv_sec * 1e3 + now.tv_nsec / 1e6,
                cpu, usage.ru_maxrss, mainMs);
#endif
    std::fflush(stdout);
}

// Calls done once window (or, without one, any top-level window) is shown,
// exposed and the event loop idle.
inline void whenShownAndIdle(std::function<void()> done, QWidget *window = nullptr)
{
    auto *probe = new QTimer(qApp);
    probe->setInterval(0);
    QObject::connect(probe, &QTimer::timeout, probe, [probe, done, window] {
        const auto ready = [](QWidget *w) {
            return w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed();
        };
        bool shown = window && ready(window);
        for (QWidget *w : QApplication::topLevelWidgets())
            shown = shown || (!window && ready(w));
        if (!shown)
            return;
        probe->stop();
        probe->deleteLater();
        // One more pass, so that what the show posted (the paint) is done too.
        QTimer::singleShot(0, qApp, done);
    });
    probe->start();
}

inline void quitWhenShownAndIdle()
{
    whenShownAndIdle([] {
        printProbe();
        QCoreApplication::quit();
    });
}
