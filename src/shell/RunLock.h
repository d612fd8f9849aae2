// Serialises the long runs of the desk across workstations and processes: one import and one
// conversion at a time. PostgreSQL: a session advisory lock (released by the server when a
// workstation dies). SQLite: a lock file beside the database (stale when its process is gone).
#pragma once

#include <QString>

#include <memory>

class Db;
class Progress;
class SessionLock;

class RunLock {
public:
    enum class Kind { Import = 1, Conversion = 2 };

    RunLock(Db &db, Kind kind);
    ~RunLock();
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;

    // Waits for the lock, noting once on the progress display that another workstation is
    // busy. Throws DbError when it is not free within maxWaitSeconds.
    void acquire(Progress &progress, int maxWaitSeconds = 600);
    // The same, with nobody to tell when progress is null.
    void acquire(Progress *progress, int maxWaitSeconds = 600);
    void release();
    bool held() const { return m_held; }

    static QString waitingMessage();

private:
    bool tryOnce();

    Db &m_db;
    Kind m_kind;
    bool m_held = false;
    std::unique_ptr<SessionLock> m_lock;
};
