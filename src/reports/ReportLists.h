// The three lists of the latest conversion run, by the mode word the menu and the batch
// command use: "OrderList" (受注情報), "CarList" (ネーム生産情報), "TotalList" (合計表).
#pragma once

#include "Outcome.h"
#include "PrintRequest.h"

#include <QString>
#include <QStringList>

#include <optional>

class ReportEngine;

namespace ReportLists {

QStringList kinds();
bool isKind(const QString &kind);
// The print screen's caption for a kind; empty for an unknown one.
QString caption(const QString &kind);
// Prints the list of a kind through its report (see OrderListReport::print); Refused, saying
// nothing, for an unknown kind.
Outcome print(const QString &kind, ReportEngine &reportEngine, const PrintRequest &request);
// The import date of the report data in WRK_RPT (the first one); empty when it holds no row.
QString reportImpDate(Db &db);

// The run whose lists WRK_RPT holds, as the print screen names it: its import date, its
// stamp (B1 of its lines; empty once the run was cancelled), its line count, and how many
// runs of the same day came before it (their lists are reprinted from 実行履歴).
struct ReportRun {
    QString impDate;
    QString stamp;
    int lines = 0;
    int earlierRuns = 0;
};
// std::nullopt when WRK_RPT holds no row. Throws DbError.
std::optional<ReportRun> reportRun(Db &db);
// The lines the print screen shows under the date.
QString describeRun(const ReportRun &run);

} // namespace ReportLists
