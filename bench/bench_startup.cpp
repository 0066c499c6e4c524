// Starts the program and the bare yardstick alternately, many times, and
// prints the median wall time from exec to an idle shown window and the
// median peak memory of each. Usage: bench_startup [runs] (default 30)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

struct Sample
{
    double ms;
    long maxRssKb;
};

Sample runOnce(const std::string &program)
{
    char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
        std::perror(program.c_str());
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", program.c_str());
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss};
}

template <typename T> T median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 30;
    std::string dir = argv[0];
    dir = dir.substr(0, dir.rfind('/') + 1);
    const std::string program = dir + "startup_nerubato";
    const std::string bare = dir + "startup_bare";

    runOnce(program); // warm the page cache for both
    runOnce(bare);
    std::vector<double> msProgram, msBare;
    std::vector<long> kbProgram, kbBare;
    for (int i = 0; i < runs; ++i) {
        const Sample a = runOnce(program);
        const Sample b = runOnce(bare);
        msProgram.push_back(a.ms);
        kbProgram.push_back(a.maxRssKb);
        msBare.push_back(b.ms);
        kbBare.push_back(b.maxRssKb);
    }
    const double tP = median(msProgram), tB = median(msBare);
    const long mP = median(kbProgram), mB = median(kbBare);
    std::printf("start-up (%d runs each, alternating)\n", runs);
    std::printf("  nerubato   median %7.1f ms   peak memory %6ld KiB\n", tP, mP);
    std::printf("  bare Qt    median %7.1f ms   peak memory %6ld KiB\n", tB, mB);
    std::printf("  ratio      time %.2f   memory %.2f   (target <= 1.50 each)\n", tP / tB,
                double(mP) / double(mB));
    return 0;
}
