// Grid rows from SQLite: one prepared statement on the grid's own connection, stepped as far
// as the grid scrolls. A page before the statement's position runs the statement again and
// steps over the rows before it without reading them; the read transaction keeps the result
// the same between runs.
#pragma once

#include "GridRowSource.h"

struct sqlite3_stmt;

class SqliteStatementSource : public GridRowSource {
public:
    SqliteStatementSource(Db &db, const QString &sql, const QVariantMap &params, int firstPageRows);
    ~SqliteStatementSource() override;

    QList<QVariantList> fetch(qint64 first, int count) override;
    void release() override;

private:
    void prepare(const QString &sql, const QVariantMap &params);
    bool step();
    QVariantList currentRow() const;
    [[noreturn]] void fail() const;

    Db &m_db;
    sqlite3_stmt *m_stmt = nullptr;
    // Rows stepped over since the statement started.
    qint64 m_position = 0;
    bool m_done = false;
};
