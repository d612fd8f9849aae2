// The order edit grid's statement: every column of the lines of an order condition, in file
// order or sorted by one column. Without an Order By the lines came in the table's physical
// order, which on PostgreSQL moves a line to the end whenever it is updated; the line key
// always settles ties, so the pages read later and the export come in the same order.
#pragma once

#include "OrderCondition.h"

#include <QString>

namespace OrderLineQuery {

// sortField empty: file order. A sort field is a column of TBL_ORDER named by the screen
// itself (never typed text); KNR_NO sorts AB-999 before AB-1000. The values are the
// condition's params.
QString sql(const OrderCondition &condition, const QString &sortField = QString(),
            bool descending = false);

} // namespace OrderLineQuery
