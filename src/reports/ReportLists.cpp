#include "ReportLists.h"

#include "Db.h"
#include "NameProductionListReport.h"
#include "OrderListReport.h"
#include "ReportValues.h"
#include "TotalListReport.h"

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

int print(const QString &kind, ReportEngine &reportEngine, const PrintRequest &request)
{
    if (kind == QLatin1String("OrderList"))
        return OrderListReport::print(reportEngine, request);
    if (kind == QLatin1String("CarList"))
        return NameProductionListReport::print(reportEngine, request);
    if (kind == QLatin1String("TotalList"))
        return TotalListReport::print(reportEngine, request);
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
