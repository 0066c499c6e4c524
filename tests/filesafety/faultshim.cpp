// An LD_PRELOAD library that makes chosen file-system calls fail, so the tests can
// prove that a save interrupted at any call leaves the previous file whole.
//
// Counted calls, in the order the process makes them:
//   open    open/openat and their 64-bit and fortified forms, when opening for writing
//   write   write/pwrite/writev/pwritev on a descriptor from a counted open
//   sync    fsync/fdatasync on such a descriptor
//   rename  rename/renameat/renameat2/link/linkat (a save's commit)
//
// Environment:
//   NERUBATO_FAULT_AT=N      the Nth counted call fails (unset or 0: none, only count)
//   NERUBATO_FAULT_MODE=once|after   only that call, or that call and every later one
//   NERUBATO_FAULT_ERRNO=EIO|ENOSPC|EACCES|EROFS|EDQUOT|EFBIG|EBUSY|<number>  (EIO)
//   NERUBATO_FAULT_KINDS=open,write,sync,rename   which kinds are counted (all)
//   NERUBATO_FAULT_LOG=file  one line per counted call: "n kind what ok|fail"
//
// Only libc's exported entry points are replaced; that is all Qt's file engine uses.

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

enum Kind { Open = 1, Write = 2, Sync = 4, Rename = 8 };

const char *kindName(Kind k)
{
    switch (k) {
    case Open:
        return "open";
    case Write:
        return "write";
    case Sync:
        return "sync";
    case Rename:
        return "rename";
    }
    return "?";
}

template <typename F> F next(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

using OpenFn = int (*)(const char *, int, ...);
using OpenAtFn = int (*)(int, const char *, int, ...);
using Open2Fn = int (*)(const char *, int);
using OpenAt2Fn = int (*)(int, const char *, int);
using WriteFn = ssize_t (*)(int, const void *, size_t);
using PWriteFn = ssize_t (*)(int, const void *, size_t, off_t);
using PWrite64Fn = ssize_t (*)(int, const void *, size_t, off64_t);
using WriteVFn = ssize_t (*)(int, const struct iovec *, int);
using PWriteVFn = ssize_t (*)(int, const struct iovec *, int, off_t);
using SyncFn = int (*)(int);
using CloseFn = int (*)(int);
using RenameFn = int (*)(const char *, const char *);
using RenameAtFn = int (*)(int, const char *, int, const char *);
using RenameAt2Fn = int (*)(int, const char *, int, const char *, unsigned int);
using LinkAtFn = int (*)(int, const char *, int, const char *, int);

constexpr int kMaxFds = 4096;

struct Config
{
    long at = 0;
    bool after = false;
    int error = EIO;
    int kinds = Open | Write | Sync | Rename;
    int logFd = -1;
};

Config g_config;
std::atomic<long> g_calls{0};
std::atomic<bool> g_tracked[kMaxFds];

int errnoByName(const char *name)
{
    struct
    {
        const char *name;
        int value;
    } const known[] = {{"EIO", EIO},     {"ENOSPC", ENOSPC}, {"EACCES", EACCES},
                       {"EROFS", EROFS}, {"EDQUOT", EDQUOT}, {"EFBIG", EFBIG},
                       {"EBUSY", EBUSY}, {"EPERM", EPERM}};
    for (const auto &k : known)
        if (std::strcmp(k.name, name) == 0)
            return k.value;
    const int n = std::atoi(name);
    return n > 0 ? n : EIO;
}

__attribute__((constructor)) void configure()
{
    if (const char *v = std::getenv("NERUBATO_FAULT_AT"))
        g_config.at = std::atol(v);
    if (const char *v = std::getenv("NERUBATO_FAULT_MODE"))
        g_config.after = std::strcmp(v, "after") == 0;
    if (const char *v = std::getenv("NERUBATO_FAULT_ERRNO"))
        g_config.error = errnoByName(v);
    if (const char *v = std::getenv("NERUBATO_FAULT_KINDS")) {
        g_config.kinds = 0;
        if (std::strstr(v, "open"))
            g_config.kinds |= Open;
        if (std::strstr(v, "write"))
            g_config.kinds |= Write;
        if (std::strstr(v, "sync"))
            g_config.kinds |= Sync;
        if (std::strstr(v, "rename"))
            g_config.kinds |= Rename;
    }
    if (const char *v = std::getenv("NERUBATO_FAULT_LOG")) {
        static const auto realOpen = next<OpenFn>("open");
        g_config.logFd = realOpen(v, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }
}

// Counts one call of kind k and says whether it is to fail.
bool shouldFail(Kind k, const char *what)
{
    if (!(g_config.kinds & k))
        return false;
    const long n = ++g_calls;
    const bool fail = g_config.at > 0 && (n == g_config.at || (g_config.after && n > g_config.at));
    if (g_config.logFd >= 0) {
        static const auto realWrite = next<WriteFn>("write");
        char line[600];
        const int len = std::snprintf(line, sizeof line, "%ld %s %s %s\n", n, kindName(k),
                                      what ? what : "-", fail ? "fail" : "ok");
        if (len > 0)
            realWrite(g_config.logFd, line,
                      static_cast<size_t>(len) < sizeof line ? len : sizeof line - 1);
    }
    return fail;
}

bool tracked(int fd)
{
    return fd >= 0 && fd < kMaxFds && g_tracked[fd].load();
}

void track(int fd, bool on)
{
    if (fd >= 0 && fd < kMaxFds)
        g_tracked[fd].store(on);
}

bool forWriting(int flags)
{
    return (flags & O_ACCMODE) != O_RDONLY || (flags & (O_CREAT | O_TRUNC));
}

bool needsMode(int flags)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE;
}

// The common path of every open variant; call is the real open with its mode bound.
template <typename Call> int openCommon(const char *path, int flags, Call call)
{
    const bool counted = forWriting(flags);
    if (counted && shouldFail(Open, path)) {
        errno = g_config.error;
        return -1;
    }
    const int fd = call();
    if (fd >= 0)
        track(fd, counted);
    return fd;
}

const char *fdName(int fd)
{
    thread_local char name[32];
    std::snprintf(name, sizeof name, "fd%d", fd);
    return name;
}

template <typename R, typename Call> R writeCommon(int fd, Call call)
{
    if (tracked(fd) && shouldFail(Write, fdName(fd))) {
        errno = g_config.error;
        return -1;
    }
    return call();
}

template <typename Call> int syncCommon(int fd, Call call)
{
    if (tracked(fd) && shouldFail(Sync, fdName(fd))) {
        errno = g_config.error;
        return -1;
    }
    return call();
}

template <typename Call> int renameCommon(const char *to, Call call)
{
    if (shouldFail(Rename, to)) {
        errno = g_config.error;
        return -1;
    }
    return call();
}

mode_t modeOf(int flags, va_list ap)
{
    return needsMode(flags) ? va_arg(ap, mode_t) : 0;
}

} // namespace

extern "C" {

#define NERUBATO_OPEN(NAME)                                                                        \
    int NAME(const char *path, int flags, ...)                                                     \
    {                                                                                              \
        static const auto real = next<OpenFn>(#NAME);                                              \
        va_list ap;                                                                                \
        va_start(ap, flags);                                                                       \
        const mode_t mode = modeOf(flags, ap);                                                     \
        va_end(ap);                                                                                \
        return openCommon(path, flags, [&] { return real(path, flags, mode); });                   \
    }
#define NERUBATO_OPENAT(NAME)                                                                      \
    int NAME(int dirFd, const char *path, int flags, ...)                                          \
    {                                                                                              \
        static const auto real = next<OpenAtFn>(#NAME);                                            \
        va_list ap;                                                                                \
        va_start(ap, flags);                                                                       \
        const mode_t mode = modeOf(flags, ap);                                                     \
        va_end(ap);                                                                                \
        return openCommon(path, flags, [&] { return real(dirFd, path, flags, mode); });            \
    }

NERUBATO_OPEN(open)
NERUBATO_OPEN(open64)
NERUBATO_OPENAT(openat)
NERUBATO_OPENAT(openat64)

int __open_2(const char *path, int flags)
{
    static const auto real = next<Open2Fn>("__open_2");
    return openCommon(path, flags, [&] { return real(path, flags); });
}
int __open64_2(const char *path, int flags)
{
    static const auto real = next<Open2Fn>("__open64_2");
    return openCommon(path, flags, [&] { return real(path, flags); });
}
int __openat_2(int dirFd, const char *path, int flags)
{
    static const auto real = next<OpenAt2Fn>("__openat_2");
    return openCommon(path, flags, [&] { return real(dirFd, path, flags); });
}
int __openat64_2(int dirFd, const char *path, int flags)
{
    static const auto real = next<OpenAt2Fn>("__openat64_2");
    return openCommon(path, flags, [&] { return real(dirFd, path, flags); });
}

ssize_t write(int fd, const void *buf, size_t n)
{
    static const auto real = next<WriteFn>("write");
    return writeCommon<ssize_t>(fd, [&] { return real(fd, buf, n); });
}
ssize_t pwrite(int fd, const void *buf, size_t n, off_t at)
{
    static const auto real = next<PWriteFn>("pwrite");
    return writeCommon<ssize_t>(fd, [&] { return real(fd, buf, n, at); });
}
ssize_t pwrite64(int fd, const void *buf, size_t n, off64_t at)
{
    static const auto real = next<PWrite64Fn>("pwrite64");
    return writeCommon<ssize_t>(fd, [&] { return real(fd, buf, n, at); });
}
ssize_t writev(int fd, const struct iovec *iov, int count)
{
    static const auto real = next<WriteVFn>("writev");
    return writeCommon<ssize_t>(fd, [&] { return real(fd, iov, count); });
}
ssize_t pwritev(int fd, const struct iovec *iov, int count, off_t at)
{
    static const auto real = next<PWriteVFn>("pwritev");
    return writeCommon<ssize_t>(fd, [&] { return real(fd, iov, count, at); });
}

int fsync(int fd)
{
    static const auto real = next<SyncFn>("fsync");
    return syncCommon(fd, [&] { return real(fd); });
}
int fdatasync(int fd)
{
    static const auto real = next<SyncFn>("fdatasync");
    return syncCommon(fd, [&] { return real(fd); });
}

int close(int fd)
{
    static const auto real = next<CloseFn>("close");
    track(fd, false);
    return real(fd);
}

int rename(const char *from, const char *to)
{
    static const auto real = next<RenameFn>("rename");
    return renameCommon(to, [&] { return real(from, to); });
}
int renameat(int fromDir, const char *from, int toDir, const char *to)
{
    static const auto real = next<RenameAtFn>("renameat");
    return renameCommon(to, [&] { return real(fromDir, from, toDir, to); });
}
int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned int flags)
{
    static const auto real = next<RenameAt2Fn>("renameat2");
    return renameCommon(to, [&] { return real(fromDir, from, toDir, to, flags); });
}
int link(const char *from, const char *to)
{
    static const auto real = next<RenameFn>("link");
    return renameCommon(to, [&] { return real(from, to); });
}
int linkat(int fromDir, const char *from, int toDir, const char *to, int flags)
{
    static const auto real = next<LinkAtFn>("linkat");
    return renameCommon(to, [&] { return real(fromDir, from, toDir, to, flags); });
}

} // extern "C"
