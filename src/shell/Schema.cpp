#include "Schema.h"

#include "Db.h"

#include <QFile>
#include <QRegularExpression>

namespace Schema {

QString text()
{
    QFile file(QStringLiteral(":/ostera/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList statements()
{
    QStringList result;
    QString current;
    const QStringList lines = text().split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("--")) || trimmed.isEmpty())
            continue;
        current += line + QLatin1Char('\n');
        if (trimmed.endsWith(QLatin1Char(';'))) {
            current = current.trimmed();
            current.chop(1);
            result << current;
            current.clear();
        }
    }
    return result;
}

QStringList tableNames()
{
    static const QRegularExpression re(QStringLiteral("^CREATE TABLE (\\w+)"));
    QStringList names;
    for (const QString &statement : statements()) {
        const auto m = re.match(statement);
        if (m.hasMatch())
            names << m.captured(1);
    }
    return names;
}

namespace {
bool collationIsC(Db &db, QString *collation)
{
    *collation = db.scalar(QStringLiteral("SELECT datcollate FROM pg_database "
                                          "WHERE datname = current_database()"))
                     .toString();
    return *collation == QLatin1String("C") || *collation == QLatin1String("POSIX");
}

QString createDatabaseCommand(const QString &name)
{
    const QString db = name.isEmpty() ? QStringLiteral("ostera") : name;
    return QStringLiteral("CREATE DATABASE \"%1\" TEMPLATE template0 ENCODING 'UTF8' "
                          "LC_COLLATE 'C' LC_CTYPE 'C';")
        .arg(db);
}
} // namespace

Outcome create(Db &db, QString *message)
{
    if (db.isPostgreSQL()) {
        QString collation;
        if (!collationIsC(db, &collation)) {
            if (message)
                *message =
                    QStringLiteral("データベースの照合順序が C ではありません。") +
                    QStringLiteral("（現在: ") + collation + QStringLiteral("）\n") +
                    QStringLiteral("次のコマンドで作成したデータベースを指定してください:\n  ") +
                    createDatabaseCommand(db.settings().database);
            return Outcome::WrongCollation;
        }
        if (!db.settings().schema.isEmpty()) {
            QString schema = db.settings().schema;
            schema.replace(QLatin1Char('"'), QLatin1String("\"\""));
            db.exec(QStringLiteral("CREATE SCHEMA IF NOT EXISTS \"") + schema + QLatin1Char('"'));
        }
    }
    for (const QString &table : tableNames()) {
        if (db.tableExists(table)) {
            if (message)
                *message = QStringLiteral("テーブルは既に作成されています。");
            return Outcome::TablesExist;
        }
    }
    Transaction tx(db);
    for (const QString &statement : statements())
        db.exec(statement);
    tx.commit();
    return Outcome::Created;
}

QStringList createMissing(Db &db)
{
    static const QRegularExpression table(QStringLiteral("^CREATE TABLE (\\w+)"));
    static const QRegularExpression index(QStringLiteral("^CREATE INDEX \\w+ ON (\\w+)"));
    QStringList created;
    QStringList missingStatements;
    for (const QString &statement : statements()) {
        const auto t = table.match(statement);
        if (t.hasMatch() && !db.tableExists(t.captured(1))) {
            created << t.captured(1);
            missingStatements << statement;
            continue;
        }
        const auto i = index.match(statement);
        if (i.hasMatch() && created.contains(i.captured(1)))
            missingStatements << statement;
    }
    Transaction tx(db);
    for (const QString &statement : missingStatements)
        db.exec(statement);
    tx.commit();
    return created;
}

QStringList widenColumns(Db &db)
{
    if (!db.isPostgreSQL())
        return {};
    static const QRegularExpression table(QStringLiteral("^CREATE TABLE (\\w+)"));
    static const QRegularExpression wide(QStringLiteral("^\\s*(\\w+)\\s+BIGINT\\b"),
                                         QRegularExpression::MultilineOption);
    QStringList widened;
    Transaction tx(db);
    for (const QString &statement : statements()) {
        const auto t = table.match(statement);
        if (!t.hasMatch())
            continue;
        for (auto it = wide.globalMatch(statement); it.hasNext();) {
            const QString column = it.next().captured(1);
            const bool narrow = db.exists(
                QStringLiteral("SELECT 1 FROM information_schema.columns WHERE "
                               "table_schema = current_schema() AND table_name = lower(:t) AND "
                               "column_name = lower(:c) AND data_type = 'integer'"),
                {{QStringLiteral("t"), t.captured(1)}, {QStringLiteral("c"), column}});
            if (!narrow)
                continue;
            db.exec(QStringLiteral("ALTER TABLE ") + t.captured(1) +
                    QStringLiteral(" ALTER COLUMN ") + column + QStringLiteral(" TYPE BIGINT"));
            widened << t.captured(1) + QLatin1Char('.') + column;
        }
    }
    tx.commit();
    return widened;
}

} // namespace Schema
