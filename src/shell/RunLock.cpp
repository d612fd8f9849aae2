#include "RunLock.h"

#include "Db.h"
#include "Progress.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

namespace {
constexpr int kLockBase = 0x05E7A000;
// Installations that share one server in schemas of their own (SCHEMA in the INI file) do
// not wait for each other's runs.
const QString kLockSpace = QStringLiteral("hashtext(COALESCE(current_schema(), ''))");

QString sqliteLockPath(const Db &db, RunLock::Kind kind)
{
    const ConnectionSettings &s = db.settings();
    QString path = s.server;
    if (QFileInfo(path).isRelative() && !s.baseDir.isEmpty())
        path = QDir(s.baseDir).filePath(path);
    return path + (kind == RunLock::Kind::Import ? QStringLiteral(".import.lock")
                                                 : QStringLiteral(".convert.lock"));
}
} // namespace

RunLock::RunLock(Db &db, Kind kind) : m_db(db), m_kind(kind) {}

RunLock::~RunLock()
{
    try {
        release();
    } catch (const DbError &) {
        // A lost connection has released the server's lock already.
    }
}

QString RunLock::waitingMessage()
{
    return QStringLiteral("他の端末で処理中です。終了までお待ちください。");
}

bool RunLock::tryOnce()
{
    if (m_db.isPostgreSQL()) {
        return m_db
            .scalar(QStringLiteral("SELECT pg_try_advisory_lock(") + kLockSpace +
                        QStringLiteral(", :k)"),
                    {{QStringLiteral("k"), kLockBase + int(m_kind)}})
            .toBool();
    }
    if (!m_file) {
        m_file = std::make_unique<QLockFile>(sqliteLockPath(m_db, m_kind));
        m_file->setStaleLockTime(0); // stale only when the holding process is gone
    }
    return m_file->tryLock(0);
}

void RunLock::acquire(Progress &progress, int maxWaitSeconds)
{
    if (m_held)
        return;
    QElapsedTimer waited;
    waited.start();
    bool noted = false;
    while (!tryOnce()) {
        if (!noted) {
            progress.note(waitingMessage());
            noted = true;
        }
        if (waited.elapsed() > qint64(maxWaitSeconds) * 1000)
            throw DbError(waitingMessage(), QStringLiteral("LOCK"));
        progress.pump();
        QThread::msleep(100);
    }
    m_held = true;
}

void RunLock::acquire(Progress *progress, int maxWaitSeconds)
{
    NullProgress silent;
    acquire(progress ? *progress : silent, maxWaitSeconds);
}

void RunLock::release()
{
    if (!m_held)
        return;
    m_held = false;
    if (m_db.isPostgreSQL()) {
        if (m_db.isOpen())
            m_db.scalar(QStringLiteral("SELECT pg_advisory_unlock(") + kLockSpace +
                            QStringLiteral(", :k)"),
                        {{QStringLiteral("k"), kLockBase + int(m_kind)}});
        return;
    }
    if (m_file)
        m_file->unlock();
}
