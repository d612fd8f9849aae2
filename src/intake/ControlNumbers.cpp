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

// Group number of every line within its factory: 1, 2, ... in the order set date, name type,
// lot number.
const char *const kGroups = "SELECT IMP_DATE, IMP_LN, FC_RG, "
                            "DENSE_RANK() OVER (PARTITION BY FC_RG ORDER BY SET_DATE, CAR_CD, "
                            "LOT_NO) GRP FROM WRK_ORDER";

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
    // Each factory's counter is raised once by its number of groups; its lines then take the
    // numbers after the counter's old value (the base).
    QString base = QStringLiteral("CASE N.FC_RG");
    QVariantMap params;
    for (int i = 0; i < factories.size(); ++i) {
        const QString fcRg = factories[i].value(0).toString();
        const int groups = factories[i].value(1).toInt();
        const int last = PF_NextKnrNo(db, nen, tuki, fcRg, groups);
        base += QStringLiteral(" WHEN :f%1 THEN CAST(:b%1 AS INTEGER)").arg(i);
        params.insert(QStringLiteral("f%1").arg(i), fcRg);
        params.insert(QStringLiteral("b%1").arg(i), last - groups);
    }
    base += QStringLiteral(" END");
    db.exec(QStringLiteral("UPDATE WRK_ORDER SET KNR_NO = N.FC_RG || '-' || "
                           "substr(CAST(1000 + (%1 + N.GRP) % 1000 AS TEXT), 2, 3) FROM (")
                    .arg(base) +
                QLatin1String(kGroups) +
                QStringLiteral(") N WHERE WRK_ORDER.IMP_DATE = N.IMP_DATE "
                               "AND WRK_ORDER.IMP_LN = N.IMP_LN"),
            params);
    progress.step(lines);
}
