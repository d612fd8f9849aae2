#include "JitOffScope.h"

#include "Db.h"

JitOffScope::JitOffScope(Db &db) : m_db(db)
{
    if (!m_db.isPostgreSQL())
        return;
    try {
        m_db.exec(QStringLiteral("SET jit = off"));
        m_set = true;
    } catch (const DbError &) {
        // Only slower without it; the statements themselves report a lost connection.
    }
}

JitOffScope::~JitOffScope()
{
    if (!m_set)
        return;
    try {
        m_db.exec(QStringLiteral("RESET jit"));
    } catch (const DbError &) {
    }
}
