#include "RunLock.h"

#include "Db.h"
#include "Progress.h"
#include "SqlDialect.h"

#include <QElapsedTimer>
#include <QThread>

namespace {
QString lockName(RunLock::Kind kind)
{
    return kind == RunLock::Kind::Import ? QStringLiteral("import") : QStringLiteral("convert");
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
    if (!m_lock)
        m_lock = m_db.dialect().sessionLock(m_db, lockName(m_kind));
    return m_lock->tryLock();
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
    m_lock->unlock();
}
