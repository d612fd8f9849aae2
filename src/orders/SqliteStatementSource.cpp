#include "SqliteStatementSource.h"

#include "Db.h"

#include <sqlite3.h>

SqliteStatementSource::SqliteStatementSource(Db &db, const QString &sql, const QVariantMap &params,
                                             int firstPageRows)
    : m_db(db)
{
    // A deferred read transaction: it keeps one snapshot without blocking any writer.
    m_db.exec(QStringLiteral("BEGIN"));
    try {
        prepare(sql, params);
        m_firstPage = fetch(0, firstPageRows);
        m_count = m_firstPage.size();
        if (!m_done)
            m_count = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM (") + sql +
                                      QStringLiteral(") AS grid_rows"),
                                  params)
                          .toLongLong();
    } catch (...) {
        release();
        throw;
    }
}

SqliteStatementSource::~SqliteStatementSource()
{
    release();
}

void SqliteStatementSource::prepare(const QString &sql, const QVariantMap &params)
{
    auto *handle = static_cast<sqlite3 *>(m_db.nativeHandle());
    if (!handle)
        m_db.exec(QStringLiteral("SELECT 1")); // raises the not-connected error
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(handle, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) !=
        SQLITE_OK)
        fail();
    if (!m_stmt)
        throw DbError(QStringLiteral("SQL文がありません。"), QStringLiteral("1"));
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        const QByteArray name = (QLatin1Char(':') + it.key()).toUtf8();
        const int index = sqlite3_bind_parameter_index(m_stmt, name.constData());
        if (index == 0)
            continue;
        const QVariant &v = it.value();
        int rc;
        if (v.isNull()) {
            rc = sqlite3_bind_null(m_stmt, index);
        } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong ||
                   v.typeId() == QMetaType::UInt || v.typeId() == QMetaType::ULongLong) {
            rc = sqlite3_bind_int64(m_stmt, index, v.toLongLong());
        } else if (v.typeId() == QMetaType::Double) {
            rc = sqlite3_bind_double(m_stmt, index, v.toDouble());
        } else {
            const QByteArray text = v.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()),
                                   SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            fail();
    }
    const int columns = sqlite3_column_count(m_stmt);
    for (int c = 0; c < columns; ++c)
        m_fields << QString::fromUtf8(sqlite3_column_name(m_stmt, c));
}

bool SqliteStatementSource::step()
{
    if (m_done)
        return false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE) {
        m_done = true;
        return false;
    }
    fail();
}

QList<QVariantList> SqliteStatementSource::fetch(qint64 first, int count)
{
    if (m_released || count <= 0)
        return {};
    if (first < m_position) {
        sqlite3_reset(m_stmt);
        m_position = 0;
        m_done = false;
    }
    while (m_position < first) {
        if (!step())
            return {};
        ++m_position;
    }
    QList<QVariantList> rows;
    rows.reserve(count);
    while (rows.size() < count && step()) {
        rows << currentRow();
        ++m_position;
    }
    return rows;
}

QVariantList SqliteStatementSource::currentRow() const
{
    const int columns = sqlite3_column_count(m_stmt);
    QVariantList row;
    row.reserve(columns);
    for (int c = 0; c < columns; ++c) {
        switch (sqlite3_column_type(m_stmt, c)) {
        case SQLITE_INTEGER:
            row << QVariant(qlonglong(sqlite3_column_int64(m_stmt, c)));
            break;
        case SQLITE_FLOAT:
            row << QVariant(sqlite3_column_double(m_stmt, c));
            break;
        case SQLITE_TEXT:
            row << QVariant(
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, c)),
                                  sqlite3_column_bytes(m_stmt, c)));
            break;
        case SQLITE_BLOB:
            row << QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, c)),
                                       sqlite3_column_bytes(m_stmt, c)));
            break;
        default:
            row << QVariant();
        }
    }
    return row;
}

void SqliteStatementSource::fail() const
{
    auto *handle = static_cast<sqlite3 *>(m_db.nativeHandle());
    throw sqliteError(QString::fromUtf8(sqlite3_errmsg(handle)), sqlite3_extended_errcode(handle));
}

void SqliteStatementSource::release()
{
    if (m_released)
        return;
    m_released = true;
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
    try {
        m_db.exec(QStringLiteral("COMMIT"));
    } catch (const DbError &) {
        // Nothing was written; a transaction that cannot end is dropped with the connection.
    }
}
