#include "Db.h"

#include "SqlDialect.h"

#include "globals.h"

#include <QAtomicInt>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <atomic>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {
QAtomicInt s_connectionCounter;

// Crash tests: OSTERA_KILL_AT_STATEMENT=k makes the process send itself SIGKILL just before its
// k-th statement, so that a test can cut a run short at any point and look at what is left.
// Every statement a Db runs counts one (exec, select, rows, forEach, scalar, exists, begin,
// commit, rollback, the settings after open), and so does every batch of a BulkInserter (its
// start, each 1 000 rows, its end). OSTERA_KILL_AT_STATEMENT=count kills nothing and prints
// "statements: N" on stderr when the process ends, so that a test can spread its points over a
// whole run. Unset, the hook costs one test of a constant per statement.
constexpr long kCountOnly = -1;

long readKillAt()
{
    const char *value = std::getenv("OSTERA_KILL_AT_STATEMENT");
    if (!value || !*value)
        return 0;
    if (std::strcmp(value, "count") == 0)
        return kCountOnly;
    return std::strtol(value, nullptr, 10);
}

const long s_killAt = readKillAt();
std::atomic<long> s_statements{0};

void printStatementCount()
{
    std::fprintf(stderr, "statements: %ld\n", s_statements.load());
}

[[maybe_unused]] const bool s_countPrinted =
    s_killAt == kCountOnly && std::atexit(printStatementCount) == 0;

void beforeStatement()
{
    if (s_killAt == 0)
        return;
    const long n = ++s_statements;
    if (n == s_killAt) {
#ifdef SIGKILL
        std::raise(SIGKILL);
#endif
        std::_Exit(137);
    }
}

// PostgreSQL cannot store a NUL in text and SQLite ends a statement's text at one (a quoted
// value would then break the statement): a NUL typed or loaded anywhere is refused the same
// way on both engines, before the statement runs.
bool containsNul(const QString &sql, const QVariantMap &params)
{
    if (sql.contains(QChar(u'\0')))
        return true;
    for (const QVariant &value : params)
        if (value.typeId() == QMetaType::QString && value.toString().contains(QChar(u'\0')))
            return true;
    return false;
}

// ADO's number for "provider cannot be found", kept so that operators see a familiar code.
const QString kProviderErrorNumber = QStringLiteral("3706");

QString errorNumber(const QSqlError &error)
{
    if (!error.nativeErrorCode().isEmpty())
        return error.nativeErrorCode();
    return QString::number(int(error.type()));
}

QString errorText(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return text;
}

DbError errorOf(Engine engine, const QSqlError &error)
{
    if (engine == Engine::SQLite)
        return sqliteError(errorText(error), errorNumber(error).toInt());
    return DbError(errorText(error), errorNumber(error));
}

// The same file under any name: a link, a relative path, another spelling of the folder.
bool sameFile(const QString &a, const QString &b)
{
#ifdef Q_OS_UNIX
    struct stat sa;
    struct stat sb;
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 ||
        ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#else
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
#endif
}

} // namespace

// --- ConnectionSettings -------------------------------------------------------------------

ConnectionSettings ConnectionSettings::fromGlobals()
{
    ConnectionSettings s;
    s.provider = gProvider;
    s.server = gServerName;
    s.database = gDbName;
    s.user = gDbUser;
    s.password = gDbPassword;
    s.timeout = gTimeout;
    s.schema = gDbSchema;
    s.baseDir = gInstallDir;
    return s;
}

// --- DbError ------------------------------------------------------------------------------

DbError::DbError(const QString &text, const QString &number)
    : std::runtime_error((text + QLatin1Char('(') + number + QLatin1Char(')')).toStdString()),
      m_text(text), m_number(number)
{
}

DbError sqliteError(const QString &text, int code)
{
    // Extended codes (busy in recovery, busy on a stale snapshot, ...) share the low byte.
    if ((code & 0xff) == SQLITE_BUSY)
        return DbError(QStringLiteral("他の端末で処理中です。"), QString::number(code));
    return DbError(text, QString::number(code));
}

// --- Db -----------------------------------------------------------------------------------

struct Db::Deadline {
    QElapsedTimer timer;
    qint64 limitMs = 0;
};

Db::Db(ConnectionSettings settings)
    : m_settings(std::move(settings)),
      m_name(QStringLiteral("ostera_%1").arg(s_connectionCounter.fetchAndAddRelaxed(1)))
{
}

Db::~Db()
{
    close();
}

QSqlDatabase Db::database() const
{
    return QSqlDatabase::database(m_name, false);
}

void Db::open(bool createIfMissing)
{
    close();
    m_depth = 0;
    const QString provider = m_settings.provider;
    if (provider == QLatin1String("SQLite")) {
        if (m_settings.server.trimmed().isEmpty())
            throw DbError(QStringLiteral("データベースファイルが設定されていません。"),
                          QStringLiteral("14"));
        const QString path = sqlitePath();
        if (!createIfMissing && !QFileInfo::exists(path))
            throw DbError(QStringLiteral("データベースファイルが見つかりません: ") + path,
                          QStringLiteral("14"));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        const int busyMs = qMax(1, m_settings.timeout) * 1000;
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyMs));
        m_engine = Engine::SQLite;
        if (!db.open()) {
            const QSqlError error = db.lastError();
            close();
            throw errorOf(Engine::SQLite, error);
        }
    } else if (provider == QLatin1String("PostgreSQL")) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        QString host = m_settings.server.trimmed();
        int port = 5432;
        const int colon = host.lastIndexOf(QLatin1Char(':'));
        if (colon > 0) {
            bool ok = false;
            const int p = host.mid(colon + 1).toInt(&ok);
            if (ok) {
                port = p;
                host = host.left(colon);
            }
        }
        db.setHostName(host);
        db.setPort(port);
        db.setDatabaseName(m_settings.database);
        db.setUserName(m_settings.user);
        db.setPassword(m_settings.password);
        db.setConnectOptions(QStringLiteral("connect_timeout=%1;application_name=ostera")
                                 .arg(qMax(1, m_settings.timeout)));
        m_engine = Engine::PostgreSQL;
        if (!db.open()) {
            const QSqlError error = db.lastError();
            close();
            QString number = errorNumber(error);
            if (number == QLatin1String("1"))
                number = QStringLiteral("08001"); // no SQLSTATE: the connection itself failed
            throw DbError(errorText(error), number);
        }
    } else {
        // An unknown provider leaves the connection unopened; the first statement fails.
        m_engine = Engine::Unknown;
        return;
    }
    configureAfterOpen();
}

QString Db::sqlitePath() const
{
    QString path = m_settings.server;
    if (QFileInfo(path).isRelative() && !m_settings.baseDir.isEmpty())
        path = QDir(m_settings.baseDir).filePath(path);
    return path;
}

bool Db::isDatabaseFile(const QString &path) const
{
    if (m_settings.provider != QLatin1String("SQLite") || m_settings.server.trimmed().isEmpty())
        return false;
    const QString database = sqlitePath();
    for (const QString &file :
         {database, database + QStringLiteral("-wal"), database + QStringLiteral("-shm"),
          database + QStringLiteral("-journal")})
        if (sameFile(path, file))
            return true;
    return false;
}

void Db::configureAfterOpen()
{
    if (m_engine == Engine::SQLite) {
        exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(qMax(1, m_settings.timeout) * 1000));
        exec(QStringLiteral("PRAGMA case_sensitive_like=ON"));
    } else if (m_engine == Engine::PostgreSQL) {
        exec(QStringLiteral("SET client_min_messages TO warning"));
        if (!m_settings.schema.isEmpty())
            exec(QStringLiteral("SET search_path TO ") + quoteIdentifier(m_settings.schema));
    }
}

void Db::close()
{
    m_deadline.reset();
    if (QSqlDatabase::contains(m_name)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    m_depth = 0;
}

const SqlDialect &Db::dialect() const
{
    static const SqliteDialect sqlite;
    static const PostgresDialect postgres;
    if (m_engine == Engine::PostgreSQL)
        return postgres;
    return sqlite;
}

bool Db::isOpen() const
{
    return QSqlDatabase::contains(m_name) && database().isOpen();
}

bool Db::isAlive()
{
    if (!isOpen())
        return false;
    QSqlQuery q(database());
    return q.exec(QStringLiteral("SELECT 1")) && q.next();
}

void Db::fail(const QSqlError &error) const
{
    throw errorOf(m_engine, error);
}

QSqlQuery Db::prepareAndRun(const QString &sql, const QVariantMap &params, bool forwardOnly)
{
    beforeStatement();
    if (containsNul(sql, params))
        throw DbError(QStringLiteral("NUL文字が含まれています。"), QStringLiteral("22021"));
    if (!isOpen()) {
        if (m_engine == Engine::Unknown)
            throw DbError(
                QStringLiteral("プロバイダ「") + m_settings.provider +
                    QStringLiteral("」は使用できません。SQLite か PostgreSQL を指定してください。"),
                kProviderErrorNumber);
        throw DbError(QStringLiteral("データベースに接続されていません。"), QStringLiteral("3704"));
    }
    QSqlQuery q(database());
    q.setForwardOnly(forwardOnly);
    bool ok;
    if (params.isEmpty()) {
        ok = q.exec(sql);
    } else {
        if (!q.prepare(sql))
            fail(q.lastError());
        for (auto it = params.cbegin(); it != params.cend(); ++it) {
            const QString key =
                it.key().startsWith(QLatin1Char(':')) ? it.key() : QLatin1Char(':') + it.key();
            q.bindValue(key, it.value());
        }
        ok = q.exec();
    }
    if (!ok)
        fail(q.lastError());
    return q;
}

int Db::exec(const QString &sql, const QVariantMap &params)
{
    QSqlQuery q = prepareAndRun(sql, params, true);
    return q.numRowsAffected();
}

QSqlQuery Db::select(const QString &sql, const QVariantMap &params)
{
    return prepareAndRun(sql, params, true);
}

QList<QSqlRecord> Db::rows(const QString &sql, const QVariantMap &params)
{
    QList<QSqlRecord> result;
    QSqlQuery q = prepareAndRun(sql, params, true);
    while (q.next())
        result.append(q.record());
    if (q.lastError().isValid())
        fail(q.lastError());
    return result;
}

void Db::forEach(const QString &sql, const QVariantMap &params,
                 const std::function<void(const QSqlQuery &)> &fn)
{
    QSqlQuery q = prepareAndRun(sql, params, true);
    while (q.next())
        fn(q);
    if (q.lastError().isValid())
        fail(q.lastError());
}

QVariant Db::scalar(const QString &sql, const QVariantMap &params)
{
    QSqlQuery q = prepareAndRun(sql, params, true);
    if (q.next())
        return q.value(0);
    if (q.lastError().isValid())
        fail(q.lastError());
    return {};
}

bool Db::exists(const QString &sql, const QVariantMap &params)
{
    QSqlQuery q = prepareAndRun(sql, params, true);
    if (q.next())
        return true;
    if (q.lastError().isValid())
        fail(q.lastError());
    return false;
}

bool Db::tableExists(const QString &table)
{
    if (m_engine == Engine::SQLite)
        return exists(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                     "lower(name) = lower(:t)"),
                      {{QStringLiteral("t"), table}});
    return exists(
        QStringLiteral("SELECT 1 FROM information_schema.tables WHERE "
                       "table_schema = current_schema() AND lower(table_name) = lower(:t)"),
        {{QStringLiteral("t"), table}});
}

QString Db::columnTitle(const QString &fieldName) const
{
    static const QRegularExpression folded(QStringLiteral("^[a-z_][a-z0-9_]*$"));
    if (!isPostgreSQL() || !folded.match(fieldName).hasMatch())
        return fieldName;
    return fieldName.toUpper();
}

QString Db::withLiterals(const QString &sql, const QVariantMap &params)
{
    if (params.isEmpty())
        return sql;
    static const QRegularExpression placeholder(QStringLiteral(":([A-Za-z_][A-Za-z0-9_]*)"));
    QString out;
    qsizetype at = 0;
    for (auto it = placeholder.globalMatch(sql); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const auto value = params.constFind(m.captured(1));
        if (value == params.constEnd())
            continue;
        out += QStringView(sql).mid(at, m.capturedStart() - at);
        const QVariant &v = value.value();
        const int type = v.typeId();
        if (v.isNull())
            out += QStringLiteral("NULL");
        else if (type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::UInt ||
                 type == QMetaType::ULongLong || type == QMetaType::Double)
            out += v.toString();
        else
            out += quote(v.toString());
        at = m.capturedEnd();
    }
    out += QStringView(sql).mid(at);
    return out;
}

QString Db::quoteIdentifier(const QString &name)
{
    QString inner = name;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString Db::quote(const QString &value)
{
    QString inner = value;
    inner.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}

void Db::begin()
{
    if (m_depth == 0)
        exec(m_engine == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE")
                                        : QStringLiteral("BEGIN"));
    else
        exec(QStringLiteral("SAVEPOINT sp%1").arg(m_depth));
    ++m_depth;
}

void Db::commit()
{
    if (m_depth <= 0)
        return;
    --m_depth;
    if (m_depth == 0)
        exec(QStringLiteral("COMMIT"));
    else
        exec(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(m_depth));
}

void Db::rollback()
{
    if (m_depth <= 0)
        return;
    --m_depth;
    if (m_depth == 0) {
        exec(QStringLiteral("ROLLBACK"));
    } else {
        exec(QStringLiteral("ROLLBACK TO SAVEPOINT sp%1").arg(m_depth));
        exec(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(m_depth));
    }
}

void *Db::nativeHandle() const
{
    if (!isOpen())
        return nullptr;
    const QVariant v = database().driver()->handle();
    if (!v.isValid())
        return nullptr;
    return *static_cast<void *const *>(v.constData());
}

void Db::setStatementTimeout(int ms)
{
    if (m_engine == Engine::PostgreSQL) {
        exec(QStringLiteral("SET statement_timeout = %1").arg(qMax(0, ms)));
        return;
    }
    if (m_engine != Engine::SQLite)
        return;
    auto *handle = static_cast<sqlite3 *>(nativeHandle());
    if (!handle)
        return;
    if (ms <= 0) {
        sqlite3_progress_handler(handle, 0, nullptr, nullptr);
        m_deadline.reset();
        return;
    }
    m_deadline = std::make_unique<Deadline>();
    m_deadline->limitMs = ms;
    m_deadline->timer.start();
    sqlite3_progress_handler(
        handle, 10000,
        [](void *arg) -> int {
            auto *d = static_cast<Deadline *>(arg);
            return d->timer.elapsed() > d->limitMs ? 1 : 0;
        },
        m_deadline.get());
}

// --- Transaction --------------------------------------------------------------------------

Transaction::~Transaction()
{
    if (m_done)
        return;
    try {
        m_db.rollback();
    } catch (const DbError &) {
        // The connection may be gone; the server rolls back on its own then.
    }
}

void Transaction::commit()
{
    m_done = true;
    m_db.commit();
}

// --- BulkInserter -------------------------------------------------------------------------

namespace {
void appendCopyValue(QByteArray &out, const QVariant &value)
{
    if (value.isNull()) {
        out.append("\\N");
        return;
    }
    const QByteArray text = value.toString().toUtf8();
    for (char c : text) {
        switch (c) {
        case '\\':
            out.append("\\\\");
            break;
        case '\t':
            out.append("\\t");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        default:
            out.append(c);
        }
    }
}

QString pgResultError(PGconn *conn, PGresult *res)
{
    const char *message = res ? PQresultErrorMessage(res) : PQerrorMessage(conn);
    return QString::fromUtf8(message).trimmed();
}

QString pgSqlState(PGresult *res)
{
    const char *state = res ? PQresultErrorField(res, PG_DIAG_SQLSTATE) : nullptr;
    return state ? QString::fromLatin1(state) : QStringLiteral("08000");
}
} // namespace

// Where a BulkInserter's rows go: one implementation per engine. add() may throw; finish()
// ends the load (throws when the engine refuses it); a sink destroyed unfinished abandons
// what it was given.
class BulkSink {
public:
    virtual ~BulkSink() = default;
    virtual void add(const QVariantList &row) = 0;
    virtual void finish() = 0;
};

namespace {

// One prepared INSERT stepped on the SQLite handle.
class SqliteInsertSink : public BulkSink {
public:
    SqliteInsertSink(Db &db, const QString &table, const QStringList &columns)
    {
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        const QByteArray sql = (QStringLiteral("INSERT INTO ") + table + QLatin1Char('(') +
                                columns.join(QLatin1Char(',')) + QStringLiteral(") VALUES(") +
                                marks.join(QLatin1Char(',')) + QLatin1Char(')'))
                                   .toUtf8();
        auto *handle = static_cast<sqlite3 *>(db.nativeHandle());
        if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &m_stmt, nullptr) !=
            SQLITE_OK)
            throw sqliteError(QString::fromUtf8(sqlite3_errmsg(handle)),
                              sqlite3_extended_errcode(handle));
    }
    ~SqliteInsertSink() override { sqlite3_finalize(m_stmt); }

    void add(const QVariantList &row) override
    {
        for (int i = 0; i < row.size(); ++i)
            bind(i + 1, row.at(i));
        const int rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_DONE) {
            auto *handle = sqlite3_db_handle(m_stmt);
            const DbError error = sqliteError(QString::fromUtf8(sqlite3_errmsg(handle)),
                                              sqlite3_extended_errcode(handle));
            sqlite3_reset(m_stmt);
            throw error;
        }
        sqlite3_reset(m_stmt);
    }
    void finish() override
    {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }

private:
    void bind(int index, const QVariant &v)
    {
        if (v.isNull()) {
            sqlite3_bind_null(m_stmt, index);
            return;
        }
        switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            sqlite3_bind_int64(m_stmt, index, v.toLongLong());
            break;
        case QMetaType::Double:
            sqlite3_bind_double(m_stmt, index, v.toDouble());
            break;
        default: {
            const QByteArray text = v.toString().toUtf8();
            sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
        }
    }

    sqlite3_stmt *m_stmt = nullptr;
};

// COPY ... FROM STDIN, started with the first row and sent a megabyte at a time.
class PostgresCopySink : public BulkSink {
public:
    PostgresCopySink(Db &db, const QString &table, const QStringList &columns)
        : m_conn(static_cast<PGconn *>(db.nativeHandle())),
          m_copy((QStringLiteral("COPY ") + table + QLatin1Char('(') +
                  columns.join(QLatin1Char(',')) + QStringLiteral(") FROM STDIN"))
                     .toUtf8())
    {
    }
    ~PostgresCopySink() override
    {
        if (!m_started || !m_conn)
            return;
        PQputCopyEnd(m_conn, "aborted");
        while (PGresult *res = PQgetResult(m_conn))
            PQclear(res);
    }

    void add(const QVariantList &row) override
    {
        if (!m_started)
            start();
        for (int i = 0; i < row.size(); ++i) {
            if (i)
                m_buffer.append('\t');
            appendCopyValue(m_buffer, row.at(i));
        }
        m_buffer.append('\n');
        if (m_buffer.size() > (1 << 20))
            flush();
    }
    void finish() override
    {
        if (!m_started)
            return;
        flush();
        m_started = false;
        if (PQputCopyEnd(m_conn, nullptr) != 1)
            throw DbError(QString::fromUtf8(PQerrorMessage(m_conn)).trimmed(),
                          QStringLiteral("08000"));
        QString failure;
        QString state;
        while (PGresult *res = PQgetResult(m_conn)) {
            if (PQresultStatus(res) != PGRES_COMMAND_OK && failure.isEmpty()) {
                failure = pgResultError(m_conn, res);
                state = pgSqlState(res);
            }
            PQclear(res);
        }
        if (!failure.isEmpty())
            throw DbError(failure, state);
    }

private:
    void start()
    {
        PGresult *res = PQexec(m_conn, m_copy.constData());
        if (PQresultStatus(res) != PGRES_COPY_IN) {
            const DbError error(pgResultError(m_conn, res), pgSqlState(res));
            PQclear(res);
            throw error;
        }
        PQclear(res);
        m_started = true;
    }
    void flush()
    {
        if (m_buffer.isEmpty())
            return;
        if (PQputCopyData(m_conn, m_buffer.constData(), int(m_buffer.size())) != 1)
            throw DbError(QString::fromUtf8(PQerrorMessage(m_conn)).trimmed(),
                          QStringLiteral("08000"));
        m_buffer.clear();
    }

    PGconn *m_conn;
    QByteArray m_copy;
    QByteArray m_buffer;
    bool m_started = false;
};

} // namespace

BulkInserter::BulkInserter(Db &db, const QString &table, const QStringList &columns)
    : m_db(db), m_table(table), m_columnCount(int(columns.size()))
{
    if (!m_db.isOpen())
        m_db.exec(QStringLiteral("SELECT 1")); // raises the not-connected error
    beforeStatement();
    if (m_db.transactionDepth() == 0) {
        m_db.begin();
        m_ownTransaction = true;
    }
    try {
        if (m_db.isPostgreSQL())
            m_sink = std::make_unique<PostgresCopySink>(m_db, table, columns);
        else
            m_sink = std::make_unique<SqliteInsertSink>(m_db, table, columns);
    } catch (const DbError &) {
        if (m_ownTransaction)
            m_db.rollback();
        throw;
    }
}

BulkInserter::~BulkInserter()
{
    if (m_finished)
        return;
    m_sink.reset();
    if (m_ownTransaction) {
        try {
            m_db.rollback();
        } catch (const DbError &) {
        }
    }
}

void BulkInserter::add(const QVariantList &row)
{
    if (row.size() != m_columnCount)
        throw DbError(QStringLiteral("列の数が合いません: ") + m_table, QStringLiteral("-1"));
    if (m_count % 1000 == 999)
        beforeStatement();
    ++m_count;
    m_sink->add(row);
}

void BulkInserter::finish()
{
    if (m_finished)
        return;
    beforeStatement();
    m_sink->finish();
    m_finished = true;
    if (m_ownTransaction)
        m_db.commit();
}

// --- BulkReader ---------------------------------------------------------------------------

BulkReader::BulkReader(Db &db, const QString &select) : m_db(db)
{
    if (!m_db.isOpen())
        m_db.exec(QStringLiteral("SELECT 1")); // raises the not-connected error
    beforeStatement();
    if (m_db.isSQLite()) {
        auto *handle = static_cast<sqlite3 *>(m_db.nativeHandle());
        const QByteArray sql = select.toUtf8();
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &stmt, nullptr) !=
            SQLITE_OK)
            throw sqliteError(QString::fromUtf8(sqlite3_errmsg(handle)),
                              sqlite3_extended_errcode(handle));
        m_stmt = stmt;
        return;
    }
    auto *conn = static_cast<PGconn *>(m_db.nativeHandle());
    const QByteArray sql =
        (QStringLiteral("COPY (") + select + QStringLiteral(") TO STDOUT")).toUtf8();
    PGresult *res = PQexec(conn, sql.constData());
    if (PQresultStatus(res) != PGRES_COPY_OUT) {
        const DbError error(pgResultError(conn, res), pgSqlState(res));
        PQclear(res);
        throw error;
    }
    PQclear(res);
    m_copying = true;
}

BulkReader::~BulkReader()
{
    if (m_stmt)
        sqlite3_finalize(static_cast<sqlite3_stmt *>(m_stmt));
    try {
        endCopy(true);
    } catch (const DbError &) {
        // Nothing may leave a destructor; a lost connection is reported by the next statement.
    }
}

bool BulkReader::next()
{
    m_values.clear();
    if (m_stmt) {
        auto *stmt = static_cast<sqlite3_stmt *>(m_stmt);
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            return false;
        if (rc != SQLITE_ROW) {
            auto *handle = sqlite3_db_handle(stmt);
            throw sqliteError(QString::fromUtf8(sqlite3_errmsg(handle)),
                              sqlite3_extended_errcode(handle));
        }
        const int columns = sqlite3_column_count(stmt);
        for (int i = 0; i < columns; ++i) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
            m_values.append(QByteArrayView(text, text ? sqlite3_column_bytes(stmt, i) : 0));
        }
        return true;
    }
    if (!m_copying)
        return false;
    readCopyLine();
    return m_copying;
}

// One line of COPY's text form: values separated by tabs, \N for NULL, backslash escapes.
void BulkReader::readCopyLine()
{
    auto *conn = static_cast<PGconn *>(m_db.nativeHandle());
    if (m_line) {
        PQfreemem(m_line);
        m_line = nullptr;
    }
    const int size = PQgetCopyData(conn, &m_line, 0);
    if (size < 0) {
        m_line = nullptr;
        if (size == -2)
            throw DbError(QString::fromUtf8(PQerrorMessage(conn)).trimmed(),
                          QStringLiteral("08000"));
        endCopy(false);
        return;
    }
    qsizetype end = size;
    if (end > 0 && m_line[end - 1] == '\n')
        --end;
    // Values with escapes are decoded into one buffer that must not move while they are in use.
    m_unescaped.clear();
    m_unescaped.reserve(end);
    QList<std::pair<qsizetype, qsizetype>> decoded; // offsets into m_unescaped
    QList<int> decodedAt;
    qsizetype start = 0;
    for (qsizetype at = 0; at <= end; ++at) {
        if (at < end && m_line[at] != '\t')
            continue;
        const QByteArrayView raw(m_line + start, at - start);
        if (raw == "\\N") {
            m_values.append(QByteArrayView());
        } else if (!raw.contains('\\')) {
            m_values.append(raw);
        } else {
            const qsizetype from = m_unescaped.size();
            for (qsizetype i = 0; i < raw.size(); ++i) {
                char c = raw[i];
                if (c == '\\' && i + 1 < raw.size()) {
                    const char e = raw[++i];
                    switch (e) {
                    case 'b':
                        c = '\b';
                        break;
                    case 'f':
                        c = '\f';
                        break;
                    case 'n':
                        c = '\n';
                        break;
                    case 'r':
                        c = '\r';
                        break;
                    case 't':
                        c = '\t';
                        break;
                    case 'v':
                        c = '\v';
                        break;
                    case 'x': {
                        int v = 0;
                        int n = 0;
                        while (n < 2 && i + 1 < raw.size() && std::isxdigit(uchar(raw[i + 1]))) {
                            const char h = raw[++i];
                            v = v * 16 + (std::isdigit(uchar(h)) ? h - '0' : (h | 0x20) - 'a' + 10);
                            ++n;
                        }
                        c = char(v);
                        break;
                    }
                    default:
                        if (e >= '0' && e <= '7') {
                            int v = e - '0';
                            for (int n = 0; n < 2 && i + 1 < raw.size() && raw[i + 1] >= '0' &&
                                            raw[i + 1] <= '7';
                                 ++n)
                                v = v * 8 + (raw[++i] - '0');
                            c = char(v);
                        } else {
                            c = e;
                        }
                    }
                }
                m_unescaped.append(c);
            }
            decodedAt << int(m_values.size());
            decoded.append({from, m_unescaped.size() - from});
            m_values.append(QByteArrayView());
        }
        start = at + 1;
    }
    // The buffer holds every decoded value now; point at it.
    for (qsizetype k = 0; k < decoded.size(); ++k)
        m_values[decodedAt.at(k)] =
            QByteArrayView(m_unescaped.constData() + decoded.at(k).first, decoded.at(k).second);
}

void BulkReader::endCopy(bool cancel)
{
    if (m_line) {
        PQfreemem(m_line);
        m_line = nullptr;
    }
    if (!m_copying)
        return;
    m_copying = false;
    auto *conn = static_cast<PGconn *>(m_db.nativeHandle());
    if (cancel) {
        // A writer that stopped part-way: the rest is read and dropped (a cancel request
        // could reach the statement after it instead).
        char *rest = nullptr;
        while (PQgetCopyData(conn, &rest, 0) >= 0)
            PQfreemem(rest);
    }
    QString failure;
    QString state;
    while (PGresult *res = PQgetResult(conn)) {
        if (PQresultStatus(res) != PGRES_COMMAND_OK && failure.isEmpty()) {
            failure = pgResultError(conn, res);
            state = pgSqlState(res);
        }
        PQclear(res);
    }
    if (!failure.isEmpty() && !cancel)
        throw DbError(failure, state);
}
