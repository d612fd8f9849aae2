#include "PostgresCursorSource.h"

#include "Db.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
const QString kCursor = QStringLiteral("ostera_grid");

[[noreturn]] void failWith(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    throw DbError(text, error.nativeErrorCode());
}
} // namespace

PostgresCursorSource::PostgresCursorSource(Db &db, const QString &sql, const QVariantMap &params,
                                           int firstPageRows)
    : m_db(db)
{
    m_db.begin();
    try {
        m_db.exec(QStringLiteral("DECLARE ") + kCursor + QStringLiteral(" SCROLL CURSOR FOR ") +
                  Db::withLiterals(sql, params));
        m_firstPage = fetchForward(firstPageRows, true);
        m_count = m_firstPage.size();
        if (m_count == firstPageRows) {
            // The count without sending the rows: the cursor runs to the end on the server.
            m_count += m_db.exec(QStringLiteral("MOVE FORWARD ALL IN ") + kCursor);
            m_position = m_count;
        }
    } catch (...) {
        release();
        throw;
    }
}

PostgresCursorSource::~PostgresCursorSource()
{
    release();
}

QList<QVariantList> PostgresCursorSource::fetch(qint64 first, int count)
{
    if (m_released || first >= m_count || count <= 0)
        return {};
    if (first != m_position) {
        m_db.exec(QStringLiteral("MOVE ABSOLUTE %1 IN ").arg(first) + kCursor);
        m_position = first;
    }
    return fetchForward(count, false);
}

QList<QVariantList> PostgresCursorSource::fetchForward(int count, bool keepFieldNames)
{
    QSqlQuery q = m_db.select(QStringLiteral("FETCH FORWARD %1 FROM ").arg(count) + kCursor);
    const QSqlRecord record = q.record();
    const int columns = record.count();
    if (keepFieldNames)
        for (int c = 0; c < columns; ++c)
            m_fields << record.fieldName(c);
    QList<QVariantList> rows;
    rows.reserve(count);
    while (q.next()) {
        QVariantList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row << (q.isNull(c) ? QVariant() : q.value(c));
        rows << row;
    }
    if (q.lastError().isValid())
        failWith(q.lastError());
    m_position += rows.size();
    return rows;
}

void PostgresCursorSource::release()
{
    if (m_released)
        return;
    m_released = true;
    try {
        m_db.rollback(); // ends the read transaction and with it the cursor
    } catch (const DbError &) {
        // The connection is gone; the server has dropped the cursor already.
    }
}
