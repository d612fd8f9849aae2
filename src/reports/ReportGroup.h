// One group of the order lists: the lines of one factory, order date, set date and brand in
// WRK_RPT. Each group starts on a new page.
#pragma once

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QVariantMap>

#include <functional>

class Db;
class Progress;
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
    // The group's lines in the order of the order lists (factory, name type, control number).
    QList<QSqlRecord> lines(Db &db, const ReportSource &source) const;

    // Prints each group of the latest run, stepping the progress under caption; false when the
    // run has no lines.
    static bool printEach(Db &db, const ReportSource &source, Progress &progress,
                          const QString &caption,
                          const std::function<void(const ReportGroup &)> &print);
};
