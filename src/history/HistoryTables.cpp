#include "HistoryTables.h"

#include "Db.h"

namespace HistoryTables {

QStringList names()
{
    return {QStringLiteral("TBL_RUN"), QStringLiteral("TBL_RUN_FILE"),
            QStringLiteral("TBL_RUN_RPT"), QStringLiteral("TBL_ORDER_LOG")};
}

QString missingText()
{
    return QStringLiteral("実行履歴テーブルがありません。ostera upgrade-db を実行してください。");
}

bool present(Db &db)
{
    for (const QString &table : names())
        if (!db.tableExists(table))
            return false;
    return true;
}

} // namespace HistoryTables
