// Reading report rows and writing their values the way the lists print them.
#pragma once

#include <QSqlRecord>
#include <QString>

namespace ReportValues {

// The column's text by name (any letter case, as PostgreSQL folds names); NULL and a missing
// column give "".
QString text(const QSqlRecord &record, const QString &column);
// The column as a whole number; NULL, empty or not a number count as 0.
qint64 number(const QSqlRecord &record, const QString &column);
// The column in the form "#,##0"; NULL or empty prints blank.
QString amount(const QSqlRecord &record, const QString &column);
// "#,##0": 1234 -> "1,234", -5 -> "-5", 0 -> "0".
QString thousands(qint64 value);
// Now as "yyyy/MM/dd hh:mm:ss", the print date of a page header.
QString printStamp();

} // namespace ReportValues
