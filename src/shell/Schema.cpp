#include "Schema.h"

#include "Db.h"
#include "SqlDialect.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlRecord>

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
// Every text column is declared in the engine's code point collation, whatever the database's.
QString forEngine(Db &db, QString statement)
{
    static const QRegularExpression textColumn(QStringLiteral("^(\\s+\\w+\\s+TEXT)\\b"),
                                               QRegularExpression::MultilineOption);
    const QString collation = db.dialect().textCollation();
    if (!collation.isEmpty())
        statement.replace(textColumn, QStringLiteral("\\1") + collation);
    return statement;
}
} // namespace

Outcome create(Db &db, QString *message)
{
    db.dialect().createSchema(db, db.settings().schema);
    for (const QString &table : tableNames()) {
        if (db.tableExists(table)) {
            if (message)
                *message = QStringLiteral("テーブルは既に作成されています。");
            return Outcome::Refused;
        }
    }
    Transaction tx(db);
    for (const QString &statement : statements())
        db.exec(forEngine(db, statement));
    unlogWorkTables(db);
    tx.commit();
    return Outcome::Done;
}

QStringList workTableNames()
{
    return {QStringLiteral("WRK_CSV_H"), QStringLiteral("WRK_RPT"), QStringLiteral("WRK_CSV_C")};
}

void unlogWorkTables(Db &db)
{
    for (const QString &table : workTableNames())
        db.dialect().unlogTable(db, table);
}

QStringList addMissingColumns(Db &db)
{
    static const QRegularExpression table(QStringLiteral("^CREATE TABLE (\\w+)"));
    static const QRegularExpression column(
        QStringLiteral("^\\s+(\\w+)\\s+(TEXT|INTEGER|BIGINT|NUMERIC\\(\\d+,\\d+\\))\\b(.*?),?$"),
        QRegularExpression::MultilineOption);
    QStringList added;
    Transaction tx(db);
    for (const QString &statement : statements()) {
        const auto t = table.match(statement);
        if (!t.hasMatch() || !db.tableExists(t.captured(1)))
            continue;
        const QSqlRecord present = db.select(QStringLiteral("SELECT * FROM ") + t.captured(1) +
                                             QStringLiteral(" WHERE 1 = 0"))
                                       .record();
        for (auto it = column.globalMatch(statement); it.hasNext();) {
            const auto c = it.next();
            if (present.indexOf(c.captured(1)) >= 0 ||
                present.indexOf(c.captured(1).toLower()) >= 0)
                continue;
            const QString collate =
                c.captured(2) == QLatin1String("TEXT") ? db.dialect().textCollation() : QString();
            db.exec(QStringLiteral("ALTER TABLE ") + t.captured(1) +
                    QStringLiteral(" ADD COLUMN ") + c.captured(1) + QLatin1Char(' ') +
                    c.captured(2) + collate + c.captured(3));
            added << t.captured(1) + QLatin1Char('.') + c.captured(1);
        }
    }
    tx.commit();
    return added;
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
        db.exec(forEngine(db, statement));
    tx.commit();
    return created;
}

QStringList missingParts(Db &db)
{
    static const QRegularExpression table(QStringLiteral("^CREATE TABLE (\\w+)"));
    static const QRegularExpression column(
        QStringLiteral("^\\s+(\\w+)\\s+(TEXT|INTEGER|BIGINT|NUMERIC)"),
        QRegularExpression::MultilineOption);
    QStringList missing;
    for (const QString &statement : statements()) {
        const auto t = table.match(statement);
        if (!t.hasMatch())
            continue;
        if (!db.tableExists(t.captured(1))) {
            missing << t.captured(1);
            continue;
        }
        const QSqlRecord present = db.select(QStringLiteral("SELECT * FROM ") + t.captured(1) +
                                             QStringLiteral(" WHERE 1 = 0"))
                                       .record();
        for (auto it = column.globalMatch(statement); it.hasNext();) {
            const QString name = it.next().captured(1);
            if (present.indexOf(name) < 0 && present.indexOf(name.toLower()) < 0)
                missing << t.captured(1) + QLatin1Char('.') + name;
        }
    }
    return missing;
}

int textColumnsOutsideC(Db &db)
{
    if (!db.isPostgreSQL())
        return 0;
    QStringList tables;
    for (const QString &name : tableNames())
        tables << Db::quote(name.toLower());
    return db
        .scalar(QStringLiteral("SELECT COUNT(*) FROM information_schema.columns WHERE "
                               "table_schema = current_schema() AND data_type = 'text' AND "
                               "COALESCE(collation_name, '') <> 'C' AND table_name IN (") +
                tables.join(QLatin1Char(',')) + QLatin1Char(')'))
        .toInt();
}

QStringList collateTextColumns(Db &db)
{
    if (!db.isPostgreSQL())
        return {};
    static const QRegularExpression table(QStringLiteral("^CREATE TABLE (\\w+)"));
    static const QRegularExpression text(QStringLiteral("^\\s+(\\w+)\\s+TEXT\\b"),
                                         QRegularExpression::MultilineOption);
    QStringList changed;
    Transaction tx(db);
    for (const QString &statement : statements()) {
        const auto t = table.match(statement);
        if (!t.hasMatch())
            continue;
        for (auto it = text.globalMatch(statement); it.hasNext();) {
            const QString column = it.next().captured(1);
            const bool other = db.exists(
                QStringLiteral("SELECT 1 FROM information_schema.columns WHERE "
                               "table_schema = current_schema() AND table_name = lower(:t) AND "
                               "column_name = lower(:c) AND data_type = 'text' AND "
                               "COALESCE(collation_name, '') <> 'C'"),
                {{QStringLiteral("t"), t.captured(1)}, {QStringLiteral("c"), column}});
            if (!other)
                continue;
            // The indexes and keys over the column are rebuilt in the new order.
            db.exec(QStringLiteral("ALTER TABLE ") + t.captured(1) +
                    QStringLiteral(" ALTER COLUMN ") + column +
                    QStringLiteral(" TYPE TEXT COLLATE \"C\""));
            changed << t.captured(1) + QLatin1Char('.') + column;
        }
    }
    tx.commit();
    return changed;
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
