#include "JitOffScope.h"

#include "Db.h"
#include "SqlDialect.h"

JitOffScope::JitOffScope(Db &db) : m_db(db)
{
    try {
        m_set = m_db.dialect().switchJitOff(m_db);
    } catch (const DbError &) {
        // Only slower without it; the statements themselves report a lost connection.
    }
}

JitOffScope::~JitOffScope()
{
    if (!m_set)
        return;
    try {
        m_db.dialect().resetJit(m_db);
    } catch (const DbError &) {
    }
}
