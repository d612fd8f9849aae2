// What the flag columns of TBL_ORDER say about an order line, as SQL conditions, so that the
// meaning of a flag value lives in one place:
//   FLG1 '1'  the error check found something on the line
//   FLG2 '1'  the line belongs to the conversion running now
//   FLG3 '1'  converted (B1 holds the stamp of its run)
//   FLG4 '1'  confirmed (B2 holds when)
//   FLG5      special conversion selector ('0' / '1')
//   DATA_FLG  '1' thermal transfer, '0' letterpress, '' not yet known
#pragma once

#include <QString>

namespace OrderState {

// Columns are written with the alias when one is given ("L" -> "L.FLG3").
inline QString column(const QString &alias, const char *name)
{
    return alias.isEmpty() ? QLatin1String(name) : alias + QLatin1Char('.') + QLatin1String(name);
}

inline QString converted(const QString &alias = {})
{
    return column(alias, "FLG3") + QStringLiteral(" = '1'");
}
inline QString unconverted(const QString &alias = {})
{
    return column(alias, "FLG3") + QStringLiteral(" = '0'");
}
inline QString confirmed(const QString &alias = {})
{
    return column(alias, "FLG4") + QStringLiteral(" = '1'");
}
inline QString unconfirmed(const QString &alias = {})
{
    return column(alias, "FLG4") + QStringLiteral(" = '0'");
}
// The error check found nothing on the line, or something.
inline QString withoutFindings(const QString &alias = {})
{
    return column(alias, "FLG1") + QStringLiteral(" = '0'");
}
inline QString withFindings(const QString &alias = {})
{
    return column(alias, "FLG1") + QStringLiteral(" <> '0'");
}

// Neither converted nor confirmed: the lines completion, checks and edits may still change.
inline QString openLines(const QString &alias = {})
{
    return unconverted(alias) + QStringLiteral(" AND ") + unconfirmed(alias);
}

// The lines of the conversion running now.
inline QString inRunningConversion(const QString &alias = {})
{
    return column(alias, "FLG2") + QStringLiteral(" = '1'");
}

// A data kind the conversion knows: thermal transfer or letterpress.
inline QString knownDataKind(const QString &alias = {})
{
    return column(alias, "DATA_FLG") + QStringLiteral(" IN ('0', '1')");
}

} // namespace OrderState
