#include "RunReprint.h"

#include "Db.h"
#include "Dialogs.h"
#include "HistoryWrite.h"
#include "ReportLists.h"
#include "RunList.h"

namespace RunReprint {

ReportSource sourceOf(const QString &impDate, const QString &stamp)
{
    ReportSource source;
    source.table = QStringLiteral("TBL_RUN_RPT");
    source.condition = QStringLiteral("Where IMP_DATE = :src_date And B1 = :src_b1");
    source.params = {{QStringLiteral("src_date"), impDate}, {QStringLiteral("src_b1"), stamp}};
    return source;
}

Outcome print(const QString &kind, ReportEngine &reportEngine, PrintRequest request,
              const QString &impDate, const QString &stamp)
{
    try {
        if (!RunList::hasReportRows(request.db, impDate, stamp)) {
            request.dialogs.message(QStringLiteral("レコードがありません。"), Icon::Error);
            return Outcome::Refused;
        }
    } catch (const DbError &e) {
        request.dialogs.message(HistoryWrite::failureText(request.db, e.describe()), Icon::Error);
        return Outcome::Failed;
    }
    request.source = sourceOf(impDate, stamp);
    if (ReportLists::print(kind, reportEngine, request) == Outcome::Done)
        return Outcome::Done;
    request.dialogs.message(QStringLiteral("失敗しました。"), Icon::Error);
    return Outcome::Failed;
}

} // namespace RunReprint
