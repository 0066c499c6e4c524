#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class QObject;

namespace nerubato {

// Reads directories on a thread of its own, one after another, and hands each
// listing, sorted by name, back on the owner's thread. Reading and sorting a
// directory of 100,000 entries takes a tenth of a second or more: never on
// the UI thread.
class DirectoryReader
{
public:
    // Gone: the directory is not there (any more). Unreadable: it is there but
    // cannot be listed.
    enum Outcome { Read, Gone, Unreadable };
    using Done = std::function<void(const QStringList &names, Outcome outcome)>;

    // Stands in for the file system's answer where the tests run as root, whom
    // no permission keeps out: a directory canRead() refuses is Unreadable.
    static void setReadCheck(std::function<bool(const QString &)> canRead);

    explicit DirectoryReader(QObject *owner);
    ~DirectoryReader();

    // done runs on the owner's thread, unless dropAll() comes first.
    void read(const QString &path, QDir::Filters filters, Done done);
    // Listings asked for so far never arrive, read yet or not.
    void dropAll();
    // Frees the names on the worker: 100,000 strings take milliseconds to free.
    void discard(QStringList &&names);
    // Blocks until the worker has done every request so far (their listings
    // may still be on their way to the owner's thread); false on time-out.
    bool waitUntilIdle(int timeoutMs);

private:
    struct Request
    {
        QString path;
        QDir::Filters filters;
        Done done;
        quint64 epoch = 0;
        QStringList garbage;
    };

    void start();
    void work();

    QObject *m_owner;
    std::atomic<quint64> m_epoch{0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Request> m_requests;
    bool m_working = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace nerubato
