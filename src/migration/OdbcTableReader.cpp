#include "OdbcTableReader.h"

#include "SqlServerTypes.h"

#include <QSqlError>
#include <QSqlRecord>

namespace {
QString errorText(const QSqlError &error)
{
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.driverText().trimmed() : text;
}
} // namespace

OdbcTableReader::OdbcTableReader(const QSqlDatabase &database, const QString &table)
    : m_database(database), m_table(table), m_query(database)
{
}

bool OdbcTableReader::open(QString *problem)
{
    // The table's name comes from the desk's own list, never from the source.
    QSqlQuery count(m_database);
    if (!count.exec(QStringLiteral("SELECT COUNT(*) FROM ") + m_table) || !count.next()) {
        *problem = errorText(count.lastError());
        return false;
    }
    m_total = count.value(0).toLongLong();
    m_query.setForwardOnly(true);
    // Decimals as their exact text, not as doubles.
    m_query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!m_query.exec(QStringLiteral("SELECT * FROM ") + m_table)) {
        *problem = errorText(m_query.lastError());
        return false;
    }
    const QSqlRecord record = m_query.record();
    for (int i = 0; i < record.count(); ++i)
        m_columns << record.fieldName(i).toUpper();
    return true;
}

bool OdbcTableReader::next(SourceRow &row)
{
    if (!m_query.next()) {
        if (m_query.lastError().isValid())
            m_error = errorText(m_query.lastError());
        return false;
    }
    row.line = ++m_row;
    row.fields.clear();
    row.fault.clear();
    row.fromCp932 = false;
    for (int i = 0; i < m_columns.size(); ++i) {
        QString reason;
        const auto text = SqlServerTypes::odbcText(m_query.value(i), &reason);
        if (!text && row.fault.isEmpty())
            row.fault = QStringLiteral("列 %1: %2").arg(m_columns.at(i), reason);
        row.fields << text.value_or(QString());
    }
    return true;
}
