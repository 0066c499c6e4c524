#include "DirectoryReader.h"

#include "chooser/core/FileNameOrder.h"

#include <QDirIterator>
#include <QFile>
#include <QObject>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <dirent.h>
#endif

namespace nerubato {

namespace {

std::function<bool(const QString &)> &readCheck()
{
    static std::function<bool(const QString &)> check;
    return check;
}

// The names of one directory's entries that filters asks for; stops early,
// with what it has, once dropped() says the listing is no longer wanted.
template <typename Dropped>
DirectoryReader::Outcome listNames(const QString &path, QDir::Filters filters, Dropped dropped,
                                   QStringList &names)
{
    if (readCheck() && !readCheck()(path))
        return DirectoryReader::Unreadable;
#ifdef Q_OS_WIN
    // Hidden and system files are told by their attributes, which Qt's
    // iterator looks at for hidden files only; one pass reads both.
    const QString pattern = QDir::toNativeSeparators(path) +
                            (path.endsWith(u'/') ? QStringLiteral("*") : QStringLiteral("\\*"));
    WIN32_FIND_DATAW entry;
    const HANDLE find =
        FindFirstFileExW(reinterpret_cast<LPCWSTR>(pattern.utf16()), FindExInfoBasic, &entry,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND: // a drive's root with nothing in it
            return DirectoryReader::Read;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
            return DirectoryReader::Gone;
        default:
            return DirectoryReader::Unreadable;
        }
    }
    const bool wantDirs = filters.testFlag(QDir::Dirs);
    const bool wantFiles = filters.testFlag(QDir::Files);
    do {
        const DWORD attributes = entry.dwFileAttributes;
        if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
            continue;
        const bool isDir = attributes & FILE_ATTRIBUTE_DIRECTORY;
        if (isDir ? !wantDirs : !wantFiles)
            continue;
        const QString name = QString::fromWCharArray(entry.cFileName);
        if (name == u"." || name == u"..")
            continue;
        names << name;
        if (names.size() % 1024 == 0 && dropped())
            break;
    } while (FindNextFileW(find, &entry));
    FindClose(find);
#else
    // QDirIterator says nothing of a directory it cannot open.
    DIR *dir = ::opendir(QFile::encodeName(path).constData());
    if (dir == nullptr)
        return errno == ENOENT || errno == ENOTDIR ? DirectoryReader::Gone
                                                   : DirectoryReader::Unreadable;
    ::closedir(dir);
    QDirIterator entries(path, filters);
    while (entries.hasNext()) {
        entries.next();
        names << entries.fileName();
        if (names.size() % 1024 == 0 && dropped())
            break;
    }
#endif
    return DirectoryReader::Read;
}

} // namespace

void DirectoryReader::setReadCheck(std::function<bool(const QString &)> canRead)
{
    readCheck() = std::move(canRead);
}

DirectoryReader::DirectoryReader(QObject *owner) : m_owner(owner) {}

DirectoryReader::~DirectoryReader()
{
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        ++m_epoch;
    }
    m_wake.notify_one();
    m_thread.join();
}

// The thread starts with the first request: a chooser never opened costs none.
void DirectoryReader::start()
{
    if (!m_thread.joinable())
        m_thread = std::thread([this] { work(); });
}

void DirectoryReader::read(const QString &path, QDir::Filters filters, Done done)
{
    start();
    {
        const std::lock_guard lock(m_mutex);
        m_requests.push_back({path, filters, std::move(done), m_epoch.load(), {}});
    }
    m_wake.notify_one();
}

void DirectoryReader::dropAll()
{
    const std::lock_guard lock(m_mutex);
    ++m_epoch;
    std::erase_if(m_requests, [](const Request &request) { return request.garbage.isEmpty(); });
}

void DirectoryReader::discard(QStringList &&names)
{
    if (names.isEmpty())
        return;
    start();
    {
        const std::lock_guard lock(m_mutex);
        Request request;
        request.garbage = std::move(names);
        m_requests.push_back(std::move(request));
    }
    m_wake.notify_one();
}

bool DirectoryReader::waitUntilIdle(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return !m_working && m_requests.empty(); });
}

void DirectoryReader::work()
{
    for (;;) {
        Request request;
        {
            std::unique_lock lock(m_mutex);
            m_working = false;
            if (m_requests.empty())
                m_idle.notify_all();
            m_wake.wait(lock, [this] { return m_stopping || !m_requests.empty(); });
            if (m_stopping)
                return;
            request = std::move(m_requests.front());
            m_requests.pop_front();
            m_working = true;
        }
        if (!request.garbage.isEmpty())
            continue; // freed as the request goes
        const auto dropped = [&] { return m_epoch.load() != request.epoch; };

        QStringList names;
        const Outcome outcome = listNames(request.path, request.filters, dropped, names);
        if (dropped())
            continue;
        sortFileNames(names);
        if (dropped())
            continue;
        QMetaObject::invokeMethod(
            m_owner,
            [this, epoch = request.epoch, done = std::move(request.done), names = std::move(names),
             outcome] {
                if (epoch == m_epoch.load())
                    done(names, outcome);
            },
            Qt::QueuedConnection);
    }
}

} // namespace nerubato
