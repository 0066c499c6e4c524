// A program of a run in the tests, started by the real runner: step NAME
// [RELEASE [CODE]]. In its current directory (the folder it lies in) it writes
// NAME.started, holding the names of the .ended files already there, and
// NAME.args, the arguments it was given, a line each; then it waits for the
// file RELEASE to appear (at most 20 s; an empty RELEASE is not waited for),
// writes NAME.ended and exits with CODE (0 when not given).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

bool exists(const std::string &name)
{
    if (std::FILE *f = std::fopen(name.c_str(), "rb")) {
        std::fclose(f);
        return true;
    }
    return false;
}

bool write(const std::string &name, const std::string &text)
{
    std::FILE *f = std::fopen(name.c_str(), "wb");
    if (!f)
        return false;
    std::fputs(text.c_str(), f);
    return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    const std::string name = argv[1];
    std::string ended;
    for (const char *other : {"P1", "P2", "P3", "P4", "P5"}) {
        if (exists(std::string(other) + ".ended"))
            ended += std::string(other) + ".ended\n";
    }
    std::string arguments;
    for (int i = 1; i < argc; ++i)
        arguments += std::string(argv[i]) + "\n";
    if (!write(name + ".args", arguments) || !write(name + ".started", ended))
        return 1;
    for (int waited = 0; argc > 2 && *argv[2] && !exists(argv[2]) && waited < 20000; waited += 20)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!write(name + ".ended", ""))
        return 1;
    return argc > 3 ? std::atoi(argv[3]) : 0;
}
