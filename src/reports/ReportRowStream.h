// The rows of one ordered SELECT, read a block at a time so that a list of any size prints in
// bounded memory. On PostgreSQL a cursor, in a read transaction begun by the first stream
// (streams open at once end in the reverse order), so that other statements may run between
// two blocks; on SQLite the stepping statement itself. One row of look-ahead tells a group's
// last row.
#pragma once

#include <QList>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariantMap>

class Db;

class ReportRowStream {
public:
    // Runs sql (":name" placeholders from params); throws DbError.
    ReportRowStream(Db &db, const QString &sql, const QVariantMap &params);
    ~ReportRowStream();
    ReportRowStream(const ReportRowStream &) = delete;
    ReportRowStream &operator=(const ReportRowStream &) = delete;

    bool atEnd() const { return m_first >= m_rows.size(); }
    // The row the stream stands on (not atEnd()).
    const QSqlRecord &current() const { return m_rows.at(m_first); }
    // The row after it, or nullptr at the last row.
    const QSqlRecord *following() const;
    void advance();

private:
    // Reads until at least `count` rows are held or the result ends.
    void fill(int count);
    void close();

    Db &m_db;
    QString m_cursor;  // PostgreSQL
    QSqlQuery m_query; // SQLite
    QList<QSqlRecord> m_rows;
    qsizetype m_first = 0; // rows before it were passed
    bool m_exhausted = false;
    bool m_open = false;
    bool m_ownTransaction = false;
};
