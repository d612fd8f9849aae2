#include "OrderDataDelete.h"

#include "Db.h"

#include <QStringList>

QString allDeletePassword()
{
    return QStringLiteral("TOLMARK");
}

void deleteAllOrderData(Db &db)
{
    const QStringList tables{QStringLiteral("TBL_ORDER"),  QStringLiteral("SYS_IMPDATE"),
                             QStringLiteral("SYS_KNR_NO"), QStringLiteral("TBL_ERR"),
                             QStringLiteral("WRK_RPT"),    QStringLiteral("WRK_CSV_C"),
                             QStringLiteral("WRK_CSV_H")};
    Transaction work(db);
    for (const QString &table : tables)
        db.exec(QStringLiteral("DELETE FROM ") + table);
    work.commit();
}
