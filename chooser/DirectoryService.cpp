#include "DirectoryService.h"

#include "chooser/core/FileNameOrder.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace nerubato {

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kClients = 2;
} // namespace

struct DirectoryService::Request
{
    Client client = Client::List;
    QString path;
    Entries entries = Entries::Files;
    Done done;
    quint64 epoch = 0;
    QStringList garbage;
    Platform::DirectoryLister lister;
};

// What the service and its workers share. A worker left to itself holds on to
// it, so that it may finish after the service has gone.
struct DirectoryService::Shared
{
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable workerEnded;
    std::deque<Request> requests;
    // The service, to post listings to; null once it is gone.
    QObject *owner = nullptr;
    bool stopping = false;
    std::array<std::atomic<quint64>, kClients> epochs{};
    // The worker that takes requests; one left to itself ends after its read.
    quint64 currentWorker = 0;
    bool currentBusy = false;
    Clock::time_point busySince;
    int liveWorkers = 0;

    void run(quint64 id);
    void serve(Request &request);
};

void DirectoryService::Shared::run(quint64 id)
{
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [&] { return stopping || currentWorker != id || !requests.empty(); });
        if (stopping || currentWorker != id)
            break;
        Request request = std::move(requests.front());
        requests.pop_front();
        currentBusy = true;
        busySince = Clock::now();
        lock.unlock();
        serve(request);
        request = {}; // large lists are freed here, not under the lock
        lock.lock();
        if (currentWorker == id)
            currentBusy = false;
    }
    --liveWorkers;
    workerEnded.notify_all();
}

void DirectoryService::Shared::serve(Request &request)
{
    if (!request.garbage.isEmpty())
        return;
    const auto client = std::size_t(request.client);
    const quint64 epoch = request.epoch;
    const auto dropped = [&] { return epochs[client].load() != epoch; };
    QStringList names;
    const Listing outcome = request.lister(request.path, request.entries, dropped, names);
    if (dropped())
        return;
    sortFileNames(names);
    const std::lock_guard lock(mutex);
    if (owner == nullptr || dropped())
        return;
    QMetaObject::invokeMethod(
        owner,
        [this, client, epoch, done = std::move(request.done), names = std::move(names),
         outcome] {
            // Runs on the service's thread, where dropAll() is called: a
            // listing dropped meanwhile is not delivered.
            if (epochs[client].load() == epoch)
                done(names, outcome);
        },
        Qt::QueuedConnection);
}

DirectoryService::DirectoryService(Platform &platform, QObject *parent)
    : QObject(parent), m_platform(platform), m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleTime);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        const QSet<QString> changedPaths = std::exchange(m_changed, {});
        for (const QString &path : changedPaths) {
            if (m_watchCount.contains(path))
                emit changed(path);
        }
    });
    m_stuckCheck.setInterval(kStuckAfter / 4);
    connect(&m_stuckCheck, &QTimer::timeout, this, &DirectoryService::checkStuck);
}

DirectoryService::~DirectoryService()
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->owner = nullptr;
        m_shared->stopping = true;
        for (auto &epoch : m_shared->epochs)
            ++epoch;
    }
    m_shared->wake.notify_all();
    // A worker reading a share that does not answer must not keep the
    // program from ending: it is waited for a moment, then left to itself.
    std::unique_lock lock(m_shared->mutex);
    const bool ended = m_shared->workerEnded.wait_for(
        lock, std::chrono::milliseconds(200), [this] { return m_shared->liveWorkers == 0; });
    lock.unlock();
    if (m_thread.joinable()) {
        if (ended)
            m_thread.join();
        else
            m_thread.detach();
    }
}

// The first worker starts with the first request: a chooser never opened costs none.
void DirectoryService::startWorker()
{
    // Called with the lock held.
    if (m_thread.joinable())
        m_thread.detach(); // a worker left to itself: it ends on its own
    ++m_shared->liveWorkers;
    m_thread = std::thread([shared = m_shared, id = m_shared->currentWorker] { shared->run(id); });
}

void DirectoryService::read(Client client, const QString &path, Entries entries, Done done)
{
    // Taken here, on this thread, while the platform is surely there.
    Platform::DirectoryLister lister = m_platform.directoryLister();
    {
        const std::lock_guard lock(m_shared->mutex);
        if (!m_thread.joinable())
            startWorker();
        const quint64 epoch = m_shared->epochs[std::size_t(client)].load();
        m_shared->requests.push_back(
            {client, path, entries, std::move(done), epoch, {}, std::move(lister)});
    }
    m_shared->wake.notify_all();
    if (!m_stuckCheck.isActive())
        m_stuckCheck.start();
}

void DirectoryService::dropAll(Client client)
{
    const std::lock_guard lock(m_shared->mutex);
    ++m_shared->epochs[std::size_t(client)];
    std::erase_if(m_shared->requests, [client](const Request &request) {
        return request.garbage.isEmpty() && request.client == client;
    });
}

void DirectoryService::discard(QStringList &&names)
{
    if (names.isEmpty())
        return;
    {
        const std::lock_guard lock(m_shared->mutex);
        if (!m_thread.joinable())
            startWorker();
        Request request;
        request.garbage = std::move(names);
        m_shared->requests.push_back(std::move(request));
    }
    m_shared->wake.notify_all();
}

// A read that has gone on for a second while others wait is left to itself,
// and a fresh worker takes the rest.
void DirectoryService::checkStuck()
{
    const std::lock_guard lock(m_shared->mutex);
    if (m_shared->requests.empty()) {
        m_stuckCheck.stop();
        return;
    }
    if (!m_shared->currentBusy ||
        Clock::now() - m_shared->busySince < std::chrono::milliseconds(kStuckAfter))
        return;
    ++m_shared->currentWorker;
    m_shared->currentBusy = false;
    startWorker();
    m_shared->wake.notify_all();
}

QFileSystemWatcher *DirectoryService::watcher()
{
    if (!m_watcher) {
        m_watcher = m_platform.directoryWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this,
                &DirectoryService::directoryChanged);
    }
    return m_watcher;
}

void DirectoryService::watch(const QString &path)
{
    if (m_watchCount[path]++ == 0 && !m_suspended)
        watcher()->addPath(path);
}

void DirectoryService::unwatch(const QString &path)
{
    const auto it = m_watchCount.find(path);
    if (it == m_watchCount.end() || --*it > 0)
        return;
    m_watchCount.erase(it);
    m_changed.remove(path);
    if (m_watcher)
        m_watcher->removePath(path);
}

void DirectoryService::suspend()
{
    if (m_suspended)
        return;
    m_suspended = true;
    // On Windows a watched directory cannot be renamed, deleted or ejected.
    delete m_watcher;
    m_watcher = nullptr;
    m_settle.stop();
    m_changed.clear();
}

void DirectoryService::resume()
{
    if (!m_suspended)
        return;
    m_suspended = false;
    const QStringList paths = m_watchCount.keys();
    if (paths.isEmpty())
        return;
    watcher()->addPaths(paths);
    for (const QString &path : paths)
        emit changed(path);
}

void DirectoryService::directoryChanged(const QString &path)
{
    m_changed.insert(path);
    m_settle.start();
}

} // namespace nerubato
