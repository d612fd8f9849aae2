#include "ReportGroup.h"

#include "Db.h"
#include "Progress.h"
#include "ReportSource.h"
#include "ReportValues.h"
#include "Utilities.h"

QList<ReportGroup> ReportGroup::load(Db &db, const ReportSource &source)
{
    // The last three sort keys only break ties, so that the pages come out the same every time.
    const QString sql = QStringLiteral("Select FC_RG,FC_NM,FC_CD,ORD_DATE,SET_DATE,BR_CD "
                                       "From ") +
                        source.from() +
                        QStringLiteral(" Group By FC_RG,FC_NM,FC_CD,ORD_DATE,SET_DATE,BR_CD "
                                       "Order By SET_DATE,BR_CD,FC_RG,FC_CD,FC_NM,ORD_DATE ");
    QList<ReportGroup> groups;
    for (const QSqlRecord &r : db.rows(sql, source.with())) {
        using ReportValues::text;
        groups.append({text(r, QStringLiteral("FC_RG")), text(r, QStringLiteral("FC_NM")),
                       text(r, QStringLiteral("FC_CD")), text(r, QStringLiteral("ORD_DATE")),
                       text(r, QStringLiteral("SET_DATE")), text(r, QStringLiteral("BR_CD"))});
    }
    return groups;
}

QString ReportGroup::condition()
{
    return QStringLiteral("FC_RG = :fc_rg And FC_CD = :fc_cd And FC_NM = :fc_nm And "
                          "SET_DATE = :set_date And ORD_DATE = :ord_date And BR_CD = :br_cd ");
}

QVariantMap ReportGroup::parameters() const
{
    return {{QStringLiteral("fc_rg"), fcRg},       {QStringLiteral("fc_cd"), fcCd},
            {QStringLiteral("fc_nm"), fcNm},       {QStringLiteral("set_date"), setDate},
            {QStringLiteral("ord_date"), ordDate}, {QStringLiteral("br_cd"), brCd}};
}

QList<QSqlRecord> ReportGroup::lines(Db &db, const ReportSource &source) const
{
    // Control numbers in number order: AB-1000 comes after AB-999.
    const QString sql =
        QStringLiteral("Select * From ") + source.from() + QStringLiteral(" Where ") + condition() +
        QStringLiteral("Order By GENSAN,CAR_CD,") + controlNumberOrder(QStringLiteral("KNR_NO")) +
        QStringLiteral(",HINBAN,COL,SIZE_SORT_LV,IMP_DATE,IMP_LN ");
    return db.rows(sql, source.with(parameters()));
}

bool ReportGroup::printEach(Db &db, const ReportSource &source, Progress &progress,
                            const QString &caption,
                            const std::function<void(const ReportGroup &)> &print)
{
    const QList<ReportGroup> groups = load(db, source);
    if (groups.isEmpty())
        return false;
    progress.start(caption, int(groups.size()));
    for (int g = 0; g < groups.size(); ++g) {
        print(groups[g]);
        progress.step(g + 1);
    }
    return true;
}
