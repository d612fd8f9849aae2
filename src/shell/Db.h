// The one way to the database. Every statement of the desk goes through a Db: bound values
// (named placeholders ":name") or the quoting helper, never a raw value pasted into SQL.
// Failures throw DbError, whose describe() is the desk's "text(number)".
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <stdexcept>

enum class Engine { Unknown, SQLite, PostgreSQL };

class SqlDialect;

struct ConnectionSettings {
    QString provider; // "SQLite" or "PostgreSQL"; anything else makes every statement fail
    QString server;   // SQLite: database file (relative to baseDir); PostgreSQL: host or host:port
    QString database;
    QString user;
    QString password;
    int timeout = 20; // SQLite: busy time-out; PostgreSQL: connect time-out (seconds)
    QString schema;   // PostgreSQL only: the schema the installation lives in (default public)
    QString baseDir;  // installation folder

    // From the global values read at start-up.
    static ConnectionSettings fromGlobals();
};

class DbError : public std::runtime_error {
public:
    DbError(const QString &text, const QString &number);

    QString text() const { return m_text; }
    QString number() const { return m_number; }
    // The desk's error form: the description directly followed by "(number)".
    QString describe() const { return m_text + QLatin1Char('(') + m_number + QLatin1Char(')'); }

private:
    QString m_text;
    QString m_number;
};

// A failure SQLite reported with its result code. A busy database ("database is locked": another
// connection kept the write lock past the busy time-out) reads as the desk's
// "他の端末で処理中です。", so that the operator knows it is a refusal to try again, not damage.
DbError sqliteError(const QString &text, int code);

class Db {
public:
    explicit Db(ConnectionSettings settings);
    ~Db();
    Db(const Db &) = delete;
    Db &operator=(const Db &) = delete;

    // Opens the connection; throws DbError. A SQLite file that does not exist is refused
    // unless createIfMissing (init-db and the demo create it).
    void open(bool createIfMissing = false);
    void close();
    bool isOpen() const;
    // true when a trivial statement still runs (the server may have gone away).
    bool isAlive();

    Engine engine() const { return m_engine; }
    bool isSQLite() const { return m_engine == Engine::SQLite; }
    bool isPostgreSQL() const { return m_engine == Engine::PostgreSQL; }
    // What differs between the engines (an unusable provider gets SQLite's, whose statements
    // fail like every other).
    const SqlDialect &dialect() const;
    const ConnectionSettings &settings() const { return m_settings; }
    QSqlDatabase database() const;
    QString connectionName() const { return m_name; }

    // Runs a statement; returns the number of rows it changed.
    int exec(const QString &sql, const QVariantMap &params = {});
    // Runs a query and hands back the active forward-only query positioned before the first
    // row. On PostgreSQL do not run another statement on this Db inside the loop (see rows()).
    QSqlQuery select(const QString &sql, const QVariantMap &params = {});
    // Every row of a query, read before returning (safe to run statements while walking them).
    QList<QSqlRecord> rows(const QString &sql, const QVariantMap &params = {});
    // Calls fn for each row, then checks that the whole result was read.
    void forEach(const QString &sql, const QVariantMap &params,
                 const std::function<void(const QSqlQuery &)> &fn);
    // First column of the first row; an invalid QVariant when there is no row.
    QVariant scalar(const QString &sql, const QVariantMap &params = {});
    bool exists(const QString &sql, const QVariantMap &params = {});
    bool tableExists(const QString &table);

    // 'O''Brien' — a value written into a statement's text.
    static QString quote(const QString &value);
    // sql with each ":name" of params written in as a literal (NULL, a bare number, else
    // quoted): PostgreSQL prepares no DECLARE, so a cursor's statement takes no bound values.
    static QString withLiterals(const QString &sql, const QVariantMap &params);
    // "name" with an inner quote doubled: a schema or table name as an identifier.
    static QString quoteIdentifier(const QString &name);

    // A result column's name as the statement wrote it: PostgreSQL folds an unquoted name to
    // lower case (car_cd for CAR_CD), SQLite keeps it. The desk writes its own names in upper
    // case and quotes every alias that has capitals or Japanese text, so a name left all in
    // lower case by PostgreSQL is read back upper-cased.
    QString columnTitle(const QString &fieldName) const;

    // Transactions nest: the outermost begins (BEGIN IMMEDIATE on SQLite so that a writer waits
    // for another instead of failing), inner ones are savepoints.
    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return m_depth; }

    // true when path names this installation's SQLite database or one of its companion files
    // (-wal, -shm, -journal), under any name. Nothing else may open those in the process:
    // closing any descriptor of a file drops every POSIX lock the process holds on it, and
    // another process would then take the database as unused.
    bool isDatabaseFile(const QString &path) const;

    // Raw handles for the bulk paths (PGconn* / sqlite3*).
    void *nativeHandle() const;

    // Makes statements that run longer than ms fail (0 switches the limit off).
    void setStatementTimeout(int ms);

private:
    QSqlQuery prepareAndRun(const QString &sql, const QVariantMap &params, bool forwardOnly);
    [[noreturn]] void fail(const QSqlError &error) const;
    QString sqlitePath() const;
    void configureAfterOpen();

    ConnectionSettings m_settings;
    QString m_name;
    Engine m_engine = Engine::Unknown;
    int m_depth = 0;
    struct Deadline;
    std::unique_ptr<Deadline> m_deadline;
};

// Rolls back unless committed; begins on construction.
class Transaction {
public:
    explicit Transaction(Db &db) : m_db(db) { m_db.begin(); }
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    Db &m_db;
    bool m_done = false;
};

// Statement time limit for the length of a scope.
class StatementTimeout {
public:
    StatementTimeout(Db &db, int ms) : m_db(db) { m_db.setStatementTimeout(ms); }
    ~StatementTimeout() { m_db.setStatementTimeout(0); }

private:
    Db &m_db;
};

// Fast load of many rows into one table: COPY on PostgreSQL, one prepared statement through
// the SQLite handle. Rows are streamed; nothing is held beyond a buffer. Runs inside the
// caller's transaction when there is one, otherwise in its own.
class BulkSink;

class BulkInserter {
public:
    BulkInserter(Db &db, const QString &table, const QStringList &columns);
    ~BulkInserter();
    void add(const QVariantList &row);
    void finish();
    qint64 count() const { return m_count; }

private:
    Db &m_db;
    QString m_table;
    int m_columnCount;
    qint64 m_count = 0;
    bool m_ownTransaction = false;
    bool m_finished = false;
    std::unique_ptr<BulkSink> m_sink;
};

// Fast read of many rows as text, for writers that turn a whole result into files: each value
// as its UTF-8 text (NULL reads as empty), without a QVariant per value. On SQLite the
// statement is stepped on the sqlite3 handle; on PostgreSQL it runs as COPY (...) TO STDOUT,
// and no other statement may run on the connection until the reader is at its end or gone.
// Only the current row is held. Throws DbError.
class BulkReader {
public:
    BulkReader(Db &db, const QString &select);
    ~BulkReader();
    BulkReader(const BulkReader &) = delete;
    BulkReader &operator=(const BulkReader &) = delete;

    // Stands on the next row; false after the last.
    bool next();
    int columnCount() const { return int(m_values.size()); }
    // The value of column i of the current row.
    QByteArrayView value(int i) const { return m_values.at(i); }

private:
    void readCopyLine();
    void endCopy(bool cancel);

    Db &m_db;
    void *m_stmt = nullptr;
    bool m_copying = false;
    char *m_line = nullptr; // the COPY line the values point into (PostgreSQL)
    QByteArray m_unescaped; // values that held escapes, decoded
    QList<QByteArrayView> m_values;
};
