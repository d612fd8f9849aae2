// Where the order lists read their report rows. By default WRK_RPT, the rows of the latest
// conversion run; a reprint names rows kept elsewhere under the same columns (a run's own
// rows), and the lists print them exactly as they printed the work table.
#pragma once

#include <QString>
#include <QVariantMap>

struct ReportSource {
    // A table with the columns of WRK_RPT, and the condition that picks the rows to print
    // ("Where ..." with its own :src_ placeholders in params); empty picks every row.
    QString table = QStringLiteral("WRK_RPT");
    QString condition;
    QVariantMap params;

    // What the lists' statements put after "From": the work table itself, or the kept rows
    // as a derived table under the work table's name, so the statements stay the same.
    QString from() const;
    // The list's own parameters together with the source's.
    QVariantMap with(const QVariantMap &own = {}) const;
};
