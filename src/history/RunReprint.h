// Printing the lists of a past run again: the order lists read the rows the run kept
// (TBL_RUN_RPT) instead of WRK_RPT, so a reprint shows the run as it was converted, whatever
// later runs put into the work table.
#pragma once

#include "Outcome.h"
#include "PrintRequest.h"
#include "ReportSource.h"

#include <QString>

class ReportEngine;

namespace RunReprint {

// The rows the run kept, as the lists read them.
ReportSource sourceOf(const QString &impDate, const QString &stamp);

// Prints one list ("OrderList", "CarList", "TotalList") of the run on request.printer.
// Done when printed; Refused after "レコードがありません。" when the run kept no rows; Failed
// after the history's own message when its tables cannot be read, or after "失敗しました。"
// when the list did not print.
Outcome print(const QString &kind, ReportEngine &reportEngine, PrintRequest request,
              const QString &impDate, const QString &stamp);

} // namespace RunReprint
