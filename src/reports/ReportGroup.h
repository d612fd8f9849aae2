// One group of the order lists: the lines of one factory, order date, set date and brand in
// WRK_RPT. Each group starts on a new page.
#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

class Db;
struct ReportSource;

struct ReportGroup {
    QString fcRg;
    QString fcNm;
    QString fcCd;
    QString ordDate;
    QString setDate;
    QString brCd;

    // The groups of the latest run, in set date, brand and factory order.
    static QList<ReportGroup> load(Db &db, const ReportSource &source);
    // "FC_RG = :FC_RG And ... " — the six conditions that pick the group's rows.
    static QString condition();
    QVariantMap parameters() const;
};
