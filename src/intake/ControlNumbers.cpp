#include "ControlNumbers.h"

#include "Db.h"
#include "Progress.h"

#include <QSqlRecord>

int PF_NextKnrNo(Db &db, const QString &nen, const QString &tuki, const QString &fcRg, int count)
{
    return db
        .scalar(QStringLiteral("INSERT INTO SYS_KNR_NO(ORD_NEN, ORD_TUKI, FC_RG, KNR_NO) "
                               "VALUES(:nen, :tuki, :fc, :n) "
                               "ON CONFLICT (ORD_NEN, ORD_TUKI, FC_RG) "
                               "DO UPDATE SET KNR_NO = SYS_KNR_NO.KNR_NO + excluded.KNR_NO "
                               "RETURNING KNR_NO"),
                {{QStringLiteral("nen"), nen},
                 {QStringLiteral("tuki"), tuki},
                 {QStringLiteral("fc"), fcRg},
                 {QStringLiteral("n"), count}})
        .toInt();
}

QString formatKnrNo(const QString &fcRg, int n)
{
    return fcRg + QLatin1Char('-') + QString::number(1000 + n % 1000).mid(1);
}

namespace {

// Group number of every line within its factory (1, 2, ... in the order set date, name type,
// lot number) and the factory's number of groups.
const char *const kGroups =
    "SELECT IMP_DATE, IMP_LN, FC_RG, GRP, MAX(GRP) OVER (PARTITION BY FC_RG) CNT FROM ("
    "SELECT IMP_DATE, IMP_LN, FC_RG, "
    "DENSE_RANK() OVER (PARTITION BY FC_RG ORDER BY SET_DATE, CAR_CD, LOT_NO) GRP "
    "FROM WRK_ORDER) R";

} // namespace

void numberWorkOrders(Db &db, Progress &progress, const QString &nen, const QString &tuki,
                      int lines)
{
    const QList<QSqlRecord> factories =
        db.rows(QStringLiteral("SELECT FC_RG, COUNT(*) FROM "
                               "(SELECT DISTINCT FC_RG, SET_DATE, CAR_CD, LOT_NO FROM WRK_ORDER) G "
                               "GROUP BY FC_RG ORDER BY FC_RG"));
    if (factories.isEmpty())
        return;
    progress.start(QStringLiteral("管理番号..."), lines);
    // Each factory's counter is raised once by its number of groups; the lines then take
    // the numbers after the counter's old value.
    for (const QSqlRecord &f : factories)
        PF_NextKnrNo(db, nen, tuki, f.value(0).toString(), f.value(1).toInt());
    db.exec(QStringLiteral("UPDATE WRK_ORDER SET KNR_NO = N.FC_RG || '-' || "
                           "substr(CAST(1000 + (K.KNR_NO - N.CNT + N.GRP) % 1000 AS TEXT), 2, 3) "
                           "FROM (") +
                QLatin1String(kGroups) +
                QStringLiteral(") N, SYS_KNR_NO K "
                               "WHERE WRK_ORDER.IMP_DATE = N.IMP_DATE "
                               "AND WRK_ORDER.IMP_LN = N.IMP_LN "
                               "AND K.ORD_NEN = :nen AND K.ORD_TUKI = :tuki "
                               "AND K.FC_RG = N.FC_RG"),
            {{QStringLiteral("nen"), nen}, {QStringLiteral("tuki"), tuki}});
    progress.step(lines);
}
