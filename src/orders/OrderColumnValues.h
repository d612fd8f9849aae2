// The drop-down lists of the find dialog and the confirmed-order reference: the distinct
// values of one order column over a set of lines, in text order (control numbers in number
// order), and the name types of the name-type master.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

class Db;

class OrderColumnValues {
public:
    // "Select <column> From TBL_ORDER Where <where> Group By <column> Order By <column> ";
    // control numbers in number order.
    // column is one of the desk's own column names (never typed input); where binds its values
    // from params. An empty value stays an empty item; trimmed removes surrounding blanks
    // (trimBlanks).
    // Throws DbError.
    static QStringList distinct(Db &db, const QString &column, const QString &where,
                                const QVariantMap &params, bool trimmed);
    // The values of the find dialog's lists for one import date (all its lines).
    static QStringList ofImportDate(Db &db, const QString &column, const QString &impDate);
    // The values of the reference screen's lists (confirmed lines, FLG4 = '1').
    static QStringList ofConfirmed(Db &db, const QString &column);
    // CAR_CD of MST_CAR in code order.
    static QStringList nameTypes(Db &db);
    // A stored value as a list shows it: blanks (U+0020) trimmed at both ends. A full-width
    // blank (U+3000) is part of the value, so that choosing the item finds the line.
    static QString trimBlanks(const QString &value);

private:
    OrderColumnValues() = default;
};
