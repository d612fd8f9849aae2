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

// Each condition takes an optional table alias: converted("L") is "L.FLG3 = '1'".
class OrderState {
public:
    static QString converted(const QString &alias = {}) { return flag(alias, "FLG3", "= '1'"); }
    static QString unconverted(const QString &alias = {}) { return flag(alias, "FLG3", "= '0'"); }
    static QString confirmed(const QString &alias = {}) { return flag(alias, "FLG4", "= '1'"); }
    static QString unconfirmed(const QString &alias = {}) { return flag(alias, "FLG4", "= '0'"); }
    // The error check found nothing on the line, or something.
    static QString withoutFindings(const QString &alias = {})
    {
        return flag(alias, "FLG1", "= '0'");
    }
    static QString withFindings(const QString &alias = {}) { return flag(alias, "FLG1", "<> '0'"); }
    // The lines of the conversion running now.
    static QString inRunningConversion(const QString &alias = {})
    {
        return flag(alias, "FLG2", "= '1'");
    }
    // Neither converted nor confirmed: the lines completion, checks and edits may still change.
    static QString openLines(const QString &alias = {})
    {
        return unconverted(alias) + QStringLiteral(" AND ") + unconfirmed(alias);
    }
    // A data kind the conversion knows: thermal transfer or letterpress.
    static QString knownDataKind(const QString &alias = {})
    {
        return flag(alias, "DATA_FLG", "IN ('0', '1')");
    }

private:
    static QString flag(const QString &alias, const char *name, const char *test)
    {
        const QString column =
            alias.isEmpty() ? QLatin1String(name) : alias + QLatin1Char('.') + QLatin1String(name);
        return column + QLatin1Char(' ') + QLatin1String(test);
    }
};
