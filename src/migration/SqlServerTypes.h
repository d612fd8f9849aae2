// What the existing system's SQL Server does to values on their way out, and how each is
// taken back: the padding of char columns, the text bcp and the export wizard write for
// datetime, decimal, money and bit columns, the empty string of bcp's character format, and
// the values the ODBC driver hands over. Nothing else of the migration knows SQL Server.
#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>
#include <QVariant>

#include <optional>

namespace SqlServerTypes {

// char(n) and nchar(n) pad their values with blanks (U+0020) to the column's width.
QString withoutPadding(const QString &text);

// bcp's character format writes NULL as an empty field and the empty string as one NUL
// character: such a field is the empty string, not a value holding a NUL.
bool isBcpEmptyString(QStringView field);

struct DateTime {
    QDate date;
    QTime time; // 00:00:00 when the text had no time
};

// datetime, smalldatetime, date and datetime2 as bcp writes them ("2026-12-08 09:05:03.000"),
// as the export wizard writes them under a Japanese locale ("2026/12/08 9:05:03") and in ISO
// form ("2026-12-08T09:05:03"); std::nullopt for any other text.
std::optional<DateTime> dateTime(const QString &text);

// A whole number written by a decimal or money column ("12.00", "12.0000") without its zero
// fraction; any other text is returned as it stands.
QString wholeNumber(const QString &text);

// A decimal or money value ("120.5000") with the zeros after `scale` fraction digits dropped,
// so that a price of money type fits the desk's two-digit column; other text as it stands.
QString decimalWithScale(const QString &text, int scale);

// A bit column: the wizard writes "True" and "False", bcp 1 and 0; other text as it stands.
QString flagText(const QString &text);

// A value read through the ODBC driver as the text bcp would have written for it; std::nullopt
// with *reason for a binary value. NULL is the empty text.
std::optional<QString> odbcText(const QVariant &value, QString *reason);

} // namespace SqlServerTypes
