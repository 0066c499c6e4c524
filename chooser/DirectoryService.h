#pragma once

#include "platform/Platform.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <thread>

namespace nerubato {

// One file chooser's way to the disk. Worker threads read directories one
// after another and hand each listing, sorted by name, back on this object's
// thread: a directory of 100,000 entries takes a tenth of a second or more,
// never spent on the UI thread. The directories the chooser shows are
// watched, and a change is told once it has settled.
//
// Folders are left free: while the chooser is closed (suspended) nothing is
// watched, and a directory is held open only while it is being read. A read
// that hangs (a share that does not answer) holds up later ones for a second
// at most: they go to a fresh worker; and it never keeps the program from
// ending. A worker holds nothing of the platform but its own copy of the
// platform's lister: a read left to itself may end after the service and the
// platform have gone.
class DirectoryService : public QObject
{
    Q_OBJECT

public:
    using Listing = Platform::Listing;
    using Entries = Platform::Entries;
    using Done = std::function<void(const QStringList &names, Listing outcome)>;
    // Each model's requests are dropped on their own.
    enum class Client { Tree, List };

    // A read that has run this long while others wait is left to itself.
    static constexpr int kStuckAfter = 1000;
    // A directory being written to may change many times a second.
    static constexpr int kSettleTime = 300;

    // The platform outlives the service, not necessarily its workers.
    explicit DirectoryService(Platform &platform, QObject *parent = nullptr);
    ~DirectoryService() override;

    // done runs on this thread, unless the client's dropAll() comes first.
    void read(Client client, const QString &path, Entries entries, Done done);
    // The client's listings asked for so far never arrive, read yet or not.
    void dropAll(Client client);
    // Frees the names on a worker: 100,000 strings take milliseconds to free.
    void discard(QStringList &&names);

    // Counted: a directory both models show is watched while either does.
    void watch(const QString &path);
    void unwatch(const QString &path);
    // The chooser closed: no directory watched. Opened again: every watch
    // back, and each directory told as changed, as it may have meanwhile.
    void suspend();
    void resume();

signals:
    // A watched directory changed and has been still for kSettleTime.
    void changed(const QString &path);

private:
    struct Shared;
    struct Request;

    QFileSystemWatcher *watcher();
    void startWorker();
    void checkStuck();
    void directoryChanged(const QString &path);

    Platform &m_platform;
    std::shared_ptr<Shared> m_shared;
    // The worker that takes requests now.
    std::thread m_thread;
    QHash<QString, int> m_watchCount;
    QFileSystemWatcher *m_watcher = nullptr;
    bool m_suspended = false;
    QSet<QString> m_changed;
    QTimer m_settle;
    QTimer m_stuckCheck;
};

} // namespace nerubato
