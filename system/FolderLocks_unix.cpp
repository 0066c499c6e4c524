#include "FolderLocks.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nerubato {

namespace {

// Not inherited: a program the runner starts must not keep a hold.
int openForLock(const QString &path, int flags)
{
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace

// A read-only descriptor of the folder is enough for flock, and every runner
// opening the folder meets the same lock, whatever name it is reached by.
RunLock::RunLock(const QString &folder)
{
    const int fd = openForLock(folder, O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_refused = errno == EWOULDBLOCK;
        ::close(fd);
        return;
    }
    m_handle = fd;
}

RunLock::~RunLock()
{
    if (held())
        ::close(int(m_handle));
}

// The history file itself is locked. It is replaced whole, by a rename, while
// held: a runner that got the old file's lock finds the name on another file
// and locks again.
RecordsLock::RecordsLock(const QString &folder, const QString &historyFile, int waitMs)
{
    const QString path = folder + u'/' + historyFile;
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        int fd = openForLock(path, O_RDONLY | O_CREAT);
        if (fd < 0)
            fd = openForLock(path, O_RDONLY);
        if (fd < 0)
            return;
        bool locked;
        while (!(locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0) &&
               (errno == EWOULDBLOCK || errno == EINTR) && !deadline.hasExpired())
            QThread::msleep(10);
        struct stat held
        {
        }, named{};
        if (locked && ::fstat(fd, &held) == 0 &&
            ::stat(QFile::encodeName(path).constData(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            m_handle = fd;
            return;
        }
        ::close(fd);
        if (!locked || deadline.hasExpired())
            return;
    }
}

RecordsLock::~RecordsLock()
{
    if (held())
        ::close(int(m_handle));
}

} // namespace nerubato
