#include "ReportLists.h"

#include "Db.h"
#include "NameProductionListReport.h"
#include "OrderListReport.h"
#include "OrderState.h"
#include "ReportValues.h"
#include "TotalListReport.h"

#include <QSqlRecord>

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

Outcome print(const QString &kind, ReportEngine &reportEngine, const PrintRequest &request)
{
    if (kind == QLatin1String("OrderList"))
        return OrderListReport::print(reportEngine, request);
    if (kind == QLatin1String("CarList"))
        return NameProductionListReport::print(reportEngine, request);
    if (kind == QLatin1String("TotalList"))
        return TotalListReport::print(reportEngine, request);
    return Outcome::Refused;
}

QString reportImpDate(Db &db)
{
    const QList<QSqlRecord> rows = db.rows(
        QStringLiteral("Select IMP_DATE From WRK_RPT Group By IMP_DATE Order By IMP_DATE "));
    return rows.isEmpty() ? QString()
                          : ReportValues::text(rows.first(), QStringLiteral("IMP_DATE"));
}

std::optional<ReportRun> reportRun(Db &db)
{
    const QString impDate = reportImpDate(db);
    if (impDate.isEmpty())
        return std::nullopt;
    ReportRun run;
    run.impDate = impDate;
    const QVariantMap day{{QStringLiteral("d"), impDate}};
    const QList<QSqlRecord> rows = db.rows(
        QStringLiteral("Select Count(*) As LINES, Max(O.B1) As STAMP From WRK_RPT W "
                       "Left Join TBL_ORDER O On O.IMP_DATE = W.IMP_DATE And O.IMP_LN = W.IMP_LN "
                       "Where W.IMP_DATE = :d"),
        day);
    if (!rows.isEmpty()) {
        run.lines = rows.first().value(0).toInt();
        run.stamp = rows.first().value(1).toString();
    }
    if (!run.stamp.isEmpty())
        run.earlierRuns =
            db.scalar(QStringLiteral("Select Count(Distinct B1) From TBL_ORDER "
                                     "Where IMP_DATE = :d And ") +
                          OrderState::converted() + QStringLiteral(" And B1 <> '' And B1 < :stamp"),
                      {{QStringLiteral("d"), impDate}, {QStringLiteral("stamp"), run.stamp}})
                .toInt();
    return run;
}

QString describeRun(const ReportRun &run)
{
    // A cancelled run leaves its rows in the work table but takes its stamp off the lines.
    if (run.stamp.isEmpty())
        return QStringLiteral("取り消された変換の ") + QString::number(run.lines) +
               QStringLiteral(" 行です。変換し直してから印刷してください。");
    QString text = QStringLiteral("変換 ") + run.stamp + QStringLiteral(" の ") +
                   QString::number(run.lines) + QStringLiteral(" 行を印刷します。");
    if (run.earlierRuns > 0)
        text += QStringLiteral("\n同じ処理日の前の変換（") + QString::number(run.earlierRuns) +
                QStringLiteral(" 回）の帳票は「実行履歴」から再印刷します。");
    return text;
}

} // namespace ReportLists
