#pragma once

#include <QString>

// The runner's two holds on the folder it works in. Neither needs a file it
// can write: a folder or a lock file that is read-only, or another user's,
// keeps out a second runner all the same. The system lets go of a hold when
// its process ends, however it ends, so none is ever left behind.
namespace nerubato {

// One runner at a time in a folder, held for the whole run: on Linux an
// flock on the folder itself, on Windows a named mutex keyed by the folder's
// full path (the same folder by any of its names, in any session). Only a
// hold that another process has is a refusal; a hold that cannot be asked
// for at all (a folder that is gone) is neither held nor refused.
class RunLock
{
public:
    explicit RunLock(const QString &folder);
    ~RunLock();
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;
    bool held() const { return m_handle != kNone; }
    bool refused() const { return m_refused; }

private:
    static constexpr qintptr kNone = -1;
    qintptr m_handle = kNone;
    bool m_refused = false;
};

// A short hold around writing the runner's report and history, which every
// runner of the folder takes, the one that runs and one that stops because
// it runs: so that neither loses the other's lines. Waited for up to waitMs;
// a hold not had by then is let go of (a record is worth more than the
// order of two records).
class RecordsLock
{
public:
    RecordsLock(const QString &folder, const QString &historyFile, int waitMs);
    ~RecordsLock();
    RecordsLock(const RecordsLock &) = delete;
    RecordsLock &operator=(const RecordsLock &) = delete;
    bool held() const { return m_handle != kNone; }

private:
    static constexpr qintptr kNone = -1;
    qintptr m_handle = kNone;
};

} // namespace nerubato
