#include "HistoryWrite.h"

#include "Clock.h"
#include "Db.h"
#include "Dialogs.h"
#include "HistoryTables.h"
#include "globals.h"

#include <exception>

HistoryOperator HistoryOperator::fromGlobals()
{
    return {gUserName, gComputerName};
}

HistoryWrite::HistoryWrite(Db &db, Dialogs *dialogs, HistoryOperator who)
    : m_db(db), m_dialogs(dialogs), m_who(std::move(who)), m_at(Clock::stamp()),
      m_uncaught(std::uncaught_exceptions())
{
}

HistoryWrite::~HistoryWrite()
{
    if (m_failure.isEmpty() || !m_dialogs || std::uncaught_exceptions() > m_uncaught)
        return;
    try {
        m_dialogs->message(m_failure, Icon::Warning);
    } catch (...) {
        // Nothing may leave a destructor; the change itself is done.
    }
}

QString HistoryWrite::failureText(Db &db, const QString &description)
{
    bool missing = false;
    try {
        missing = !HistoryTables::present(db);
    } catch (const DbError &) {
        // The connection itself failed: its own description says more.
    }
    if (missing)
        return HistoryTables::missingText();
    return QStringLiteral("履歴を記録できませんでした。") + QStringLiteral("\r\n") + description;
}

QString HistoryWrite::text(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

bool HistoryWrite::attempt(const std::function<void()> &write)
{
    m_failed = false;
    try {
        Transaction savepoint(m_db);
        write();
        savepoint.commit();
        return true;
    } catch (const DbError &e) {
        m_failed = true;
        if (m_failure.isEmpty())
            m_failure = failureText(m_db, e.describe());
    }
    return false;
}
