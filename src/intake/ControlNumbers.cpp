#include "ControlNumbers.h"

#include "Db.h"

int nextControlNumber(Db &db, const QString &nen, const QString &tuki, const QString &fcRg,
                      int count)
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
    return fcRg + QLatin1Char('-') + QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}
