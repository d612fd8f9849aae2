#include "GridRowSource.h"

#include "Db.h"
#include "PostgresCursorSource.h"
#include "SqliteStatementSource.h"

std::unique_ptr<GridRowSource> GridRowSource::open(Db &db, const QString &sql,
                                                   const QVariantMap &params, int firstPageRows)
{
    // A statement wrapped in a cursor or a count must not end with a semicolon.
    QString statement = sql.trimmed();
    while (statement.endsWith(QLatin1Char(';')))
        statement = statement.left(statement.size() - 1).trimmed();
    if (db.isPostgreSQL())
        return std::make_unique<PostgresCursorSource>(db, statement, params, firstPageRows);
    if (db.isSQLite())
        return std::make_unique<SqliteStatementSource>(db, statement, params, firstPageRows);
    db.exec(statement, params); // an unusable provider: raises the connection's own error
    return nullptr;
}
