// What one import of a day's order file needs: the inputs of the import screen.
#pragma once

#include <QDate>
#include <QString>

struct ImportRequest {
    QString path;    // the order file (fileEdit)
    QString impDate; // the import date as typed, stored unchanged as IMP_DATE (importDateEdit)
    QString nen;     // year of the open business month (yearEdit): the control-number counter
    QString tuki;    // month of the open business month (monthEdit)
    QDate today;     // chooses the year of the lot numbers' month codes
};
