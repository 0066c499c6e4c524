#include "DirectoryReader.h"

#include "chooser/FileNameOrder.h"

#include <QDirIterator>
#include <QObject>

#include <algorithm>

namespace nerubato {

DirectoryReader::DirectoryReader(QObject *owner) : m_owner(owner), m_thread([this] { work(); }) {}

DirectoryReader::~DirectoryReader()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        ++m_epoch;
    }
    m_wake.notify_one();
    m_thread.join();
}

void DirectoryReader::read(const QString &path, QDir::Filters filters, Done done)
{
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
    {
        const std::lock_guard lock(m_mutex);
        Request request;
        request.garbage = std::move(names);
        m_requests.push_back(std::move(request));
    }
    m_wake.notify_one();
}

void DirectoryReader::work()
{
    for (;;) {
        Request request;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_requests.empty(); });
            if (m_stopping)
                return;
            request = std::move(m_requests.front());
            m_requests.pop_front();
        }
        if (!request.garbage.isEmpty())
            continue; // freed as the request goes
        const auto dropped = [&] { return m_epoch.load() != request.epoch; };

        QStringList names;
        QDirIterator entries(request.path, request.filters);
        while (entries.hasNext()) {
            entries.next();
            names << entries.fileName();
            if (names.size() % 1024 == 0 && dropped())
                break;
        }
        if (dropped())
            continue;
        sortFileNames(names);
        if (dropped())
            continue;
        QMetaObject::invokeMethod(
            m_owner,
            [this, epoch = request.epoch, done = std::move(request.done),
             names = std::move(names)] {
                if (epoch == m_epoch.load())
                    done(names);
            },
            Qt::QueuedConnection);
    }
}

} // namespace nerubato
