#include "DbConnection.h"

#include "Db.h"
#include "Dialogs.h"
#include "Schema.h"
#include "globals.h"

#include <memory>

namespace {
std::unique_ptr<Db> s_connection;

int numberOf(const DbError &error)
{
    bool ok = false;
    const int n = error.number().toInt(&ok);
    return ok && n != 0 ? n : 1;
}
} // namespace

int dbOpen(int borrowed)
{
    return dbOpen(borrowed, appDialogs());
}

int dbOpen(int borrowed, Dialogs &dialogs)
{
    if (borrowed != 0)
        return 0;
    if (s_connection && s_connection->isOpen() && s_connection->isAlive()) {
        ++gOpenCount;
        return 0;
    }
    s_connection = std::make_unique<Db>(ConnectionSettings::fromGlobals());
    gCn = s_connection.get();
    try {
        s_connection->open();
    } catch (const DbError &error) {
        dialogs.message(error.describe(), Icon::Error, QStringLiteral("dbOpen"));
        return numberOf(error);
    }
    ++gOpenCount;
    return 0;
}

void dbClose(int borrowed)
{
    if (borrowed != 0 || gOpenCount != 1 || !s_connection)
        return;
    s_connection->close();
}

void dbShutdown()
{
    s_connection.reset();
    gCn = nullptr;
    gOpenCount = 0;
}

ConnectionCheck checkConnection(const ConnectionSettings &settings)
{
    Db db(settings);
    try {
        db.open();
        const QStringList missing = Schema::missingParts(db);
        if (missing.size() == Schema::tableNames().size())
            return {false, QStringLiteral("接続できましたが、テーブルがありません。\n"
                                          "ostera init-db で作成してください。")};
        if (!missing.isEmpty())
            return {false, QStringLiteral("接続できましたが、テーブルか列が不足しています。\n"
                                          "ostera upgrade-db を実行してください。\n") +
                               missing.join(QStringLiteral(", "))};
    } catch (const DbError &error) {
        return {false, error.describe()};
    }
    return {true, QStringLiteral("接続できました。")};
}
