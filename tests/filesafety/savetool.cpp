// The program the file-safety tests run in a child process, so that it can be
// killed, have its calls failed by the fault library, or run under limits the
// test process itself must not take on.
//
//   nerubato_savetool [--fsize-limit BYTES] [--as-nobody] save FILE
//       saves the bytes read from standard input to FILE with saveBytes
//   nerubato_savetool loop FIRST A B
//       loads the settings files A and B, prints "ready", then forever saves
//       them alternately (A when FIRST is 0) to the first slot and registers
//       each, both with saveLines, in the current directory
//
// Exit status: 0 saved, 3 the error the user would see (its text on standard
// output, UTF-8), 4 any other exception, 2 bad usage, 5 the setup failed.

#include "settings/Errors.h"
#include "settings/RunnerContract.h"
#include "settings/SettingsFile.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace nerubato;

namespace {

QByteArray readStandardInput()
{
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n > 0)
            bytes.append(buffer, n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    return bytes;
}

// Root passes every permission check, so a read-only directory means nothing
// to it; the test then runs the save as an unprivileged user.
bool dropRoot()
{
    if (::geteuid() != 0)
        return true;
    constexpr gid_t kNobody = 65534;
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

bool limitFileSize(long bytes)
{
    // Past the limit write() is to fail with EFBIG instead of the signal ending us.
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

[[noreturn]] void loop(bool startWithB, const QString &a, const QString &b)
{
    const Lines schedules[2] = {loadLines(QDir(), a), loadLines(QDir(), b)};
    std::puts("ready");
    std::fflush(stdout);
    for (unsigned i = startWithB ? 1 : 0;; ++i) {
        const Lines &lines = schedules[i % 2];
        saveLines(QDir(), runner::kSlotFiles[0], lines);
        saveLines(QDir(), runner::kRegistrationFile, lines);
    }
}

int usage()
{
    std::fputs("usage: nerubato_savetool [--fsize-limit BYTES] [--as-nobody] save FILE\n"
               "       nerubato_savetool loop FIRST A B\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
        if (std::strcmp(argv[i], "--as-nobody") == 0) {
            if (!dropRoot())
                return 5;
        } else if (std::strcmp(argv[i], "--fsize-limit") == 0 && i + 1 < argc) {
            if (!limitFileSize(std::atol(argv[++i])))
                return 5;
        } else {
            return usage();
        }
    }
    if (i >= argc)
        return usage();
    const char *mode = argv[i++];
    try {
        if (std::strcmp(mode, "save") == 0 && argc - i == 1) {
            saveBytes(QDir(), QString::fromLocal8Bit(argv[i]), readStandardInput());
            return 0;
        }
        if (std::strcmp(mode, "loop") == 0 && argc - i == 3)
            loop(std::strcmp(argv[i], "1") == 0, QString::fromLocal8Bit(argv[i + 1]),
                 QString::fromLocal8Bit(argv[i + 2]));
        return usage();
    } catch (const Error &e) {
        const QByteArray text = e.text().toUtf8();
        std::fwrite(text.constData(), 1, text.size(), stdout);
        return 3;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 4;
    }
}
