// The three lists of the latest conversion run, by the mode word the menu and the batch
// command use: "OrderList" (受注情報), "CarList" (ネーム生産情報), "TotalList" (合計表).
#pragma once

#include "PrintRequest.h"

#include <QString>
#include <QStringList>

class ReportEngine;

namespace ReportLists {

QStringList kinds();
bool isKind(const QString &kind);
// The print screen's caption for a kind; empty for an unknown one.
QString caption(const QString &kind);
// Prints the list of a kind through its report; 1 for an unknown kind.
int print(const QString &kind, ReportEngine &reportEngine, const PrintRequest &request);
// The import date of the report data in WRK_RPT (the first one); empty when it holds no row.
QString reportImpDate(Db &db);

} // namespace ReportLists
