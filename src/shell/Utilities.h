// Small routines shared by several subsystems.
#pragma once

#include <QDate>
#include <QString>

// The order file's one-character month code (1-9, X, Y, Z) as "yyXmm", the year chosen so
// that the month lies nearest to `today`; "ｴﾗｰ!!" for a code it does not accept.
QString monthCodeToYearMonth(const QString &code, const QDate &today);

// True for a date typed as yyyy/m/d ("2004/5/1", "2004/05/31"); false for "2004/13/01",
// "2004/02/30", "abc". The conversion, find and bulk-update screens share this check.
bool isDateText(const QString &text);
// The date of a text accepted by isDateText, as "yyyy/mm/dd" ("2004/5/3" -> "2004/05/03").
QString formatDateText(const QString &text);
// What a typed date becomes before it reaches a condition: set dates are stored as yyyy/mm/dd
// and compared as text, so "2026/12/9" would sort after "2026/12/31" and select nothing. A
// text that is no date stays as typed (screens that do not check dates compare it as it is).
QString normalizeDateText(const QString &text);

// ORDER BY terms that put control numbers (管理No) in number order within each factory:
// "AB-999" before "AB-1000", which plain text order reverses. column is a column reference.
QString controlNumberOrder(const QString &column);

// VB's IsNumeric for what operators type into numeric criteria: optional blanks, sign,
// digits with an optional decimal part.
bool isNumericText(const QString &text);
