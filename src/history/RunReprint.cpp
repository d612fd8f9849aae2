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

int print(const QString &kind, ReportEngine &reportEngine, PrintRequest request,
          const QString &impDate, const QString &stamp)
{
    try {
        if (!RunList::hasReportRows(request.db, impDate, stamp)) {
            request.dialogs.message(QStringLiteral("レコードがありません。"), Icon::Error);
            return 1;
        }
    } catch (const DbError &e) {
        request.dialogs.message(HistoryWrite::failureText(request.db, e.describe()), Icon::Error);
        return 1;
    }
    request.source = sourceOf(impDate, stamp);
    if (ReportLists::print(kind, reportEngine, request) == 0)
        return 0;
    request.dialogs.message(QStringLiteral("失敗しました。"), Icon::Error);
    return 1;
}

} // namespace RunReprint
