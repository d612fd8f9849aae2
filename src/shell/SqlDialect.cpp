#include "SqlDialect.h"

#include "Db.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlRecord>

namespace {

class LockFile : public SessionLock {
public:
    explicit LockFile(const QString &path) : m_file(path)
    {
        m_file.setStaleLockTime(0); // stale only when the holding process is gone
    }
    bool tryLock() override { return m_file.tryLock(0); }
    void unlock() override { m_file.unlock(); }

private:
    QLockFile m_file;
};

class AdvisoryLock : public SessionLock {
public:
    AdvisoryLock(Db &db, const QString &name) : m_db(db), m_name(name) {}
    bool tryLock() override
    {
        return m_db
            .scalar(QStringLiteral("SELECT pg_try_advisory_lock(") + kSpace +
                        QStringLiteral(", hashtext(:n))"),
                    params())
            .toBool();
    }
    void unlock() override
    {
        // A lost connection has released the server's lock already.
        if (m_db.isOpen())
            m_db.scalar(QStringLiteral("SELECT pg_advisory_unlock(") + kSpace +
                            QStringLiteral(", hashtext(:n))"),
                        params());
    }

    // The installation's own space of session locks: its schema.
    inline static const QString kSpace =
        QStringLiteral("hashtext(COALESCE(current_schema(), '') || '/session')");

private:
    QVariantMap params() const { return {{QStringLiteral("n"), m_name}}; }

    Db &m_db;
    QString m_name;
};

QString databaseFilePath(const Db &db)
{
    const ConnectionSettings &s = db.settings();
    if (QFileInfo(s.server).isRelative() && !s.baseDir.isEmpty())
        return QDir(s.baseDir).filePath(s.server);
    return s.server;
}

} // namespace

// --- SQLite ---------------------------------------------------------------------------------

void SqliteDialect::lockUntilCommit(Db &, const QString &, const QString &) const
{
    // SQLite writes one transaction at a time: whoever holds the write lock holds this too.
}

std::unique_ptr<SessionLock> SqliteDialect::sessionLock(Db &db, const QString &name) const
{
    return std::make_unique<LockFile>(databaseFilePath(db) + QLatin1Char('.') + name +
                                      QStringLiteral(".lock"));
}

void SqliteDialect::tuneForDayWork(Db &) const {}

bool SqliteDialect::switchJitOff(Db &) const
{
    return false;
}

void SqliteDialect::resetJit(Db &) const {}

void SqliteDialect::refreshStatistics(Db &, const QString &, const QStringList &) const
{
    // SQLite plans from its indexes without collected figures; ANALYZE would only cost time.
}

QList<CatalogColumn> SqliteDialect::columns(Db &db, const QString &table) const
{
    QList<CatalogColumn> result;
    for (const QSqlRecord &r :
         db.rows(QStringLiteral("PRAGMA table_info(") + table + QLatin1Char(')'))) {
        CatalogColumn c;
        c.name = r.value(QStringLiteral("name")).toString();
        c.type = r.value(QStringLiteral("type")).toString();
        c.key = r.value(QStringLiteral("pk")).toInt() > 0;
        result << c;
    }
    return result;
}

// --- PostgreSQL -----------------------------------------------------------------------------

void PostgresDialect::lockUntilCommit(Db &db, const QString &space, const QString &name) const
{
    db.scalar(QStringLiteral("SELECT pg_advisory_xact_lock("
                             "hashtext(COALESCE(current_schema(), '') || :s), hashtext(:n))"),
              {{QStringLiteral("s"), space}, {QStringLiteral("n"), name}});
}

std::unique_ptr<SessionLock> PostgresDialect::sessionLock(Db &db, const QString &name) const
{
    return std::make_unique<AdvisoryLock>(db, name);
}

void PostgresDialect::tuneForDayWork(Db &db) const
{
    db.exec(QStringLiteral("SET LOCAL jit = off"));
    // Hashed, each join is one pass over each side. Nested, it is one pass of the inner side
    // per line, which the planner only chooses when it takes the day for a handful of lines
    // (a day loaded without statistics yet) and which then costs minutes instead of seconds.
    db.exec(QStringLiteral("SET LOCAL enable_nestloop = off"));
}

bool PostgresDialect::switchJitOff(Db &db) const
{
    db.exec(QStringLiteral("SET jit = off"));
    return true;
}

void PostgresDialect::resetJit(Db &db) const
{
    db.exec(QStringLiteral("RESET jit"));
}

void PostgresDialect::refreshStatistics(Db &db, const QString &table,
                                        const QStringList &columns) const
{
    QString sql = QStringLiteral("ANALYZE");
    if (!table.isEmpty())
        sql += QLatin1Char(' ') + table;
    if (!columns.isEmpty())
        sql += QStringLiteral(" (") + columns.join(QStringLiteral(", ")) + QLatin1Char(')');
    db.exec(sql);
}

QList<CatalogColumn> PostgresDialect::columns(Db &db, const QString &table) const
{
    const QVariantMap params{{QStringLiteral("t"), table.toLower()}};
    QStringList keys;
    for (const QSqlRecord &r :
         db.rows(QStringLiteral("SELECT k.column_name FROM information_schema.table_constraints c "
                                "JOIN information_schema.key_column_usage k "
                                "ON k.constraint_name = c.constraint_name "
                                "AND k.constraint_schema = c.constraint_schema "
                                "AND k.table_name = c.table_name "
                                "WHERE c.table_schema = current_schema() AND c.table_name = :t "
                                "AND c.constraint_type = 'PRIMARY KEY'"),
                 params))
        keys << r.value(0).toString().toUpper();
    QList<CatalogColumn> result;
    for (const QSqlRecord &r :
         db.rows(QStringLiteral("SELECT column_name, data_type, numeric_precision, numeric_scale, "
                                "COALESCE(collation_name, '') "
                                "FROM information_schema.columns "
                                "WHERE table_schema = current_schema() AND table_name = :t "
                                "ORDER BY ordinal_position"),
                 params)) {
        CatalogColumn c;
        c.name = r.value(0).toString();
        c.type = r.value(1).toString();
        c.key = keys.contains(c.name.toUpper());
        c.otherTextOrder = c.type == QLatin1String("text") && r.value(4).toString() != "C";
        c.narrowInteger = c.type == QLatin1String("integer");
        if (!r.value(2).isNull()) {
            c.precision = r.value(2).toInt();
            c.scale = r.value(3).isNull() ? 0 : r.value(3).toInt();
        }
        result << c;
    }
    return result;
}

QString SqliteDialect::textCollation() const
{
    return QString(); // TEXT compares by code point already
}

void SqliteDialect::createSchema(Db &, const QString &) const {}

void SqliteDialect::unlogTable(Db &, const QString &) const {}

// PostgreSQL compares and sorts text by the database's collation (en_US, ja_JP, C.UTF-8 ... as
// the administrator made it); the desk's files and lists want code point order.
QString PostgresDialect::textCollation() const
{
    return QStringLiteral(" COLLATE \"C\"");
}

void PostgresDialect::createSchema(Db &db, const QString &schema) const
{
    if (!schema.isEmpty() && schema != QLatin1String("public"))
        db.exec(QStringLiteral("CREATE SCHEMA IF NOT EXISTS ") + Db::quoteIdentifier(schema));
}

void PostgresDialect::unlogTable(Db &db, const QString &table) const
{
    const bool logged = db.exists(QStringLiteral("SELECT 1 FROM pg_class WHERE oid = "
                                                 "to_regclass(lower(:t)) AND relpersistence = 'p'"),
                                  {{QStringLiteral("t"), table}});
    if (logged)
        db.exec(QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" SET UNLOGGED"));
}
