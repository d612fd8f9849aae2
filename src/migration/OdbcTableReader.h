// One table of the existing system's database, read through ODBC row by row.
#pragma once

#include "SourceTable.h"

#include <QSqlDatabase>
#include <QSqlQuery>

class OdbcTableReader : public SourceTable {
public:
    OdbcTableReader(const QSqlDatabase &database, const QString &table);

    // Counts the rows and starts the query; false with *problem when the database refuses.
    bool open(QString *problem);

    QStringList columns() const override { return m_columns; }
    QString columnsFrom() const override { return QStringLiteral("データベースの列名"); }
    QString format() const override { return QStringLiteral("ODBC"); }
    bool next(SourceRow &row) override;
    QString error() const override { return m_error; }
    qint64 progressTotal() const override { return m_total; }
    qint64 progressDone() const override { return m_row; }

private:
    QSqlDatabase m_database;
    QString m_table;
    QSqlQuery m_query;
    QStringList m_columns;
    qint64 m_total = 0;
    qint64 m_row = 0;
    QString m_error;
};
