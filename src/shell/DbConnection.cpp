#include "DbConnection.h"

#include "Db.h"
#include "Schema.h"

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
