// What one import of a day's order file needs: the inputs of the import screen.
#pragma once

#include <QDate>
#include <QString>

struct ImportRequest {
    QString path;    // the order file (txtPath)
    QString impDate; // the import date as typed, stored unchanged as IMP_DATE (txtDate)
    QString nen;     // year of the open business month (txtNen): the control-number counter
    QString tuki;    // month of the open business month (txtTuki)
    QDate today;     // chooses the year of the lot numbers' month codes
};
