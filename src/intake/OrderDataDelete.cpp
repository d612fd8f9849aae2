#include "OrderDataDelete.h"

#include "AuditTrail.h"
#include "Db.h"
#include "HistoryWrite.h"
#include "Progress.h"
#include "RunLock.h"

#include <QStringList>

QString allDeletePassword()
{
    return QStringLiteral("TOLMARK");
}

void deleteAllOrderData(Db &db, Dialogs &dialogs, Progress &progress)
{
    const QStringList tables{QStringLiteral("TBL_ORDER"),  QStringLiteral("SYS_IMPDATE"),
                             QStringLiteral("SYS_KNR_NO"), QStringLiteral("TBL_ERR"),
                             QStringLiteral("WRK_RPT"),    QStringLiteral("WRK_CSV_C"),
                             QStringLiteral("WRK_CSV_H")};
    // An import committing after the delete would leave a day without its counters.
    RunLock lock(db, RunLock::Kind::Import);
    lock.acquire(progress);
    // Nor may a running conversion stamp lines that are gone.
    RunLock conversion(db, RunLock::Kind::Conversion);
    conversion.acquire(progress);
    HistoryWrite history(db, &dialogs);
    Transaction work(db);
    AuditTrail(history, AuditTrail::kAllDelete).beforeDeleteAll();
    for (const QString &table : tables)
        db.exec(QStringLiteral("DELETE FROM ") + table);
    work.commit();
}
