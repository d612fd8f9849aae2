#include "Schema.h"

#include "Db.h"
#include "SqlDialect.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlRecord>

#include <functional>

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

// Changes, in one transaction, the columns that `declared` finds in the schema's tables and
// the catalog of an older installation shows otherwise (needsIt) to `type`; their
// "TABLE.COLUMN" names.
QStringList retypeDeclaredColumns(Db &db, const QRegularExpression &declared,
                                  const std::function<bool(const CatalogColumn &)> &needsIt,
                                  const QString &type)
{
    static const QRegularExpression table(QStringLiteral("^CREATE TABLE (\\w+)"));
    QStringList changed;
    Transaction tx(db);
    for (const QString &statement : statements()) {
        const auto t = table.match(statement);
        if (!t.hasMatch())
            continue;
        QStringList stale;
        for (const CatalogColumn &column : db.dialect().columns(db, t.captured(1)))
            if (needsIt(column))
                stale << column.name.toUpper();
        for (auto it = declared.globalMatch(statement); it.hasNext();) {
            const QString column = it.next().captured(1);
            if (!stale.contains(column.toUpper()))
                continue;
            db.exec(QStringLiteral("ALTER TABLE ") + t.captured(1) +
                    QStringLiteral(" ALTER COLUMN ") + column + QStringLiteral(" TYPE ") + type);
            changed << t.captured(1) + QLatin1Char('.') + column;
        }
    }
    tx.commit();
    return changed;
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
    int count = 0;
    for (const QString &table : tableNames())
        for (const CatalogColumn &column : db.dialect().columns(db, table))
            count += column.otherTextOrder ? 1 : 0;
    return count;
}

QStringList collateTextColumns(Db &db)
{
    static const QRegularExpression text(QStringLiteral("^\\s+(\\w+)\\s+TEXT\\b"),
                                         QRegularExpression::MultilineOption);
    // The indexes and keys over a column are rebuilt in the new order.
    return retypeDeclaredColumns(
        db, text, [](const CatalogColumn &c) { return c.otherTextOrder; },
        QStringLiteral("TEXT") + db.dialect().textCollation());
}

QStringList widenColumns(Db &db)
{
    static const QRegularExpression wide(QStringLiteral("^\\s*(\\w+)\\s+BIGINT\\b"),
                                         QRegularExpression::MultilineOption);
    return retypeDeclaredColumns(
        db, wide, [](const CatalogColumn &c) { return c.narrowInteger; }, QStringLiteral("BIGINT"));
}

} // namespace Schema
