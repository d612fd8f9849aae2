#include "ReportRowStream.h"

#include "Db.h"

#include <QSqlError>

#include <atomic>

namespace {
// Rows fetched at once: few round trips, a few megabytes at most.
constexpr int kBlockRows = 1000;

std::atomic<int> g_cursors{0};
} // namespace

ReportRowStream::ReportRowStream(Db &db, const QString &sql, const QVariantMap &params) : m_db(db)
{
    if (m_db.isPostgreSQL()) {
        m_cursor = QStringLiteral("ostera_list%1").arg(++g_cursors);
        if (m_db.transactionDepth() == 0) {
            m_db.begin();
            m_ownTransaction = true;
        }
        m_open = true;
        try {
            m_db.exec(QStringLiteral("DECLARE ") + m_cursor +
                      QStringLiteral(" NO SCROLL CURSOR FOR ") + Db::withLiterals(sql, params));
        } catch (...) {
            close();
            throw;
        }
    } else {
        m_query = m_db.select(sql, params);
        m_open = true;
    }
    fill(2);
}

ReportRowStream::~ReportRowStream()
{
    try {
        close();
    } catch (const DbError &) {
        // A connection that is gone has no cursor left to close.
    }
}

void ReportRowStream::close()
{
    if (!m_open)
        return;
    m_open = false;
    if (m_cursor.isEmpty()) {
        m_query.finish();
        return;
    }
    // Only read: the transaction ends without a trace; in a caller's transaction only the
    // cursor goes.
    if (m_ownTransaction)
        m_db.rollback();
    else
        m_db.exec(QStringLiteral("CLOSE ") + m_cursor);
}

const QSqlRecord *ReportRowStream::following() const
{
    return m_first + 1 < m_rows.size() ? &m_rows.at(m_first + 1) : nullptr;
}

void ReportRowStream::advance()
{
    if (atEnd())
        return;
    ++m_first;
    // Passed rows are dropped a block at a time, not one by one from the front.
    if (m_first >= kBlockRows) {
        m_rows.remove(0, m_first);
        m_first = 0;
    }
    fill(2);
}

void ReportRowStream::fill(int count)
{
    while (!m_exhausted && m_rows.size() - m_first < count) {
        if (m_cursor.isEmpty()) {
            if (m_query.next()) {
                m_rows.append(m_query.record());
                continue;
            }
            if (m_query.lastError().isValid())
                throw DbError(m_query.lastError().text(), m_query.lastError().nativeErrorCode());
            m_exhausted = true;
            break;
        }
        const QList<QSqlRecord> block =
            m_db.rows(QStringLiteral("FETCH FORWARD %1 FROM ").arg(kBlockRows) + m_cursor);
        m_rows.append(block);
        if (block.size() < kBlockRows)
            m_exhausted = true;
    }
}
