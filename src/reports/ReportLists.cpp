#include "ReportLists.h"

#include "Db.h"
#include "ReportValues.h"
#include "basPrn_CarList.h"
#include "basPrn_OrderList.h"
#include "basPrn_TotalList.h"

namespace ReportLists {

QStringList kinds()
{
    return {QStringLiteral("OrderList"), QStringLiteral("CarList"), QStringLiteral("TotalList")};
}

bool isKind(const QString &kind)
{
    return kinds().contains(kind);
}

QString caption(const QString &kind)
{
    if (kind == QLatin1String("OrderList"))
        return QStringLiteral("受注情報");
    if (kind == QLatin1String("CarList"))
        return QStringLiteral("ネーム生産情報");
    if (kind == QLatin1String("TotalList"))
        return QStringLiteral("合計表");
    return QString();
}

int MF_Print(const QString &kind, ReportEngine &CrDraw1, const PrintRequest &request)
{
    if (kind == QLatin1String("OrderList"))
        return basPrn_OrderList::MF_Print(CrDraw1, request);
    if (kind == QLatin1String("CarList"))
        return basPrn_CarList::MF_Print(CrDraw1, request);
    if (kind == QLatin1String("TotalList"))
        return basPrn_TotalList::MF_Print(CrDraw1, request);
    return 1;
}

QString reportImpDate(Db &db)
{
    const QList<QSqlRecord> rows = db.rows(
        QStringLiteral("Select IMP_DATE From WRK_RPT Group By IMP_DATE Order By IMP_DATE "));
    return rows.isEmpty() ? QString()
                          : ReportValues::text(rows.first(), QStringLiteral("IMP_DATE"));
}

} // namespace ReportLists
