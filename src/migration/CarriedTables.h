// The tables a migration carries from the existing system: which, in what order they are read
// (the registers before the lines that are checked against them), the order of their columns
// as the existing system's tables list them, and the form the desk keeps each column's values in.
#pragma once

#include <QString>
#include <QStringList>

class CarriedTables {
public:
    enum class Form {
        Text,          // as it stands, char padding removed
        ImportDate,    // IMP_DATE: "yyyymmdd"
        SlashDate,     // ORD_DATE, SET_DATE: "yyyy/mm/dd"
        Stamp,         // B1, B2 of the lines, TIME_STAMP of the masters: "yyyy/mm/dd hh:mm:ss"
        TwoDigitMonth, // "01" to "12"
        Flag,          // '0' / '1'
    };

    // Every carried table in the order a migration reads and loads them; the work tables
    // (WRK_*) are not carried.
    static const QStringList &all();
    static bool isCarried(const QString &table);

    // The columns of a table in the order the existing system's tables list them: what a file
    // without a header line and without a format file is read by. The read-only masters list
    // only the columns the desk reads.
    static QStringList existingColumnOrder(const QString &table);

    static Form formOf(const QString &table, const QString &column);
};
