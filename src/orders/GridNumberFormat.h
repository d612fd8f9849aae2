// Display formats of grid columns in the desk's notation: "0" a digit always shown, "#" a
// digit shown when significant, "." the decimal point, "," thousands grouping, "%" percent;
// other characters are copied as they stand ("##0.00" -> 12.50, "#,##0" -> 1,234).
#pragma once

#include <QString>
#include <QVariant>

namespace GridNumberFormat {

// The value in the format; a value that is not a number is shown as it is.
QString apply(const QVariant &value, const QString &format);

} // namespace GridNumberFormat
