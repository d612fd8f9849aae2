#include "OrderDataDelete.h"

#include "Db.h"
#include "Progress.h"
#include "RunLock.h"

#include <QStringList>

QString allDeletePassword()
{
    return QStringLiteral("TOLMARK");
}

void deleteAllOrderData(Db &db, Progress &progress)
{
    const QStringList tables{QStringLiteral("TBL_ORDER"),  QStringLiteral("SYS_IMPDATE"),
                             QStringLiteral("SYS_KNR_NO"), QStringLiteral("TBL_ERR"),
                             QStringLiteral("WRK_RPT"),    QStringLiteral("WRK_CSV_C"),
                             QStringLiteral("WRK_CSV_H")};
    // An import committing after the delete would leave a day without its counters.
    RunLock lock(db, RunLock::Kind::Import);
    lock.acquire(progress);
    Transaction work(db);
    for (const QString &table : tables)
        db.exec(QStringLiteral("DELETE FROM ") + table);
    work.commit();
}
