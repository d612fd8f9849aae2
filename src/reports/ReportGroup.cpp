#include "ReportGroup.h"

#include "Db.h"
#include "Progress.h"
#include "ReportRowStream.h"
#include "ReportSource.h"
#include "ReportValues.h"
#include "Utilities.h"

QString ReportGroup::columns()
{
    return QStringLiteral("FC_RG,FC_NM,FC_CD,ORD_DATE,SET_DATE,BR_CD");
}

QString ReportGroup::order()
{
    return QStringLiteral("SET_DATE,BR_CD,FC_RG,FC_CD,FC_NM,ORD_DATE");
}

QString ReportGroup::lineOrder()
{
    return QStringLiteral("GENSAN,CAR_CD,") + controlNumberOrder(QStringLiteral("KNR_NO")) +
           QStringLiteral(",HINBAN,COL,SIZE_SORT_LV,IMP_DATE,IMP_LN");
}

ReportGroup ReportGroup::of(const QSqlRecord &r)
{
    using ReportValues::text;
    return {text(r, QStringLiteral("FC_RG")),    text(r, QStringLiteral("FC_NM")),
            text(r, QStringLiteral("FC_CD")),    text(r, QStringLiteral("ORD_DATE")),
            text(r, QStringLiteral("SET_DATE")), text(r, QStringLiteral("BR_CD"))};
}

bool ReportGroup::Rows::belongs(const QSqlRecord &row) const
{
    return ReportGroup::of(row) == m_group;
}

bool ReportGroup::Rows::next()
{
    if (m_ended)
        return false;
    if (m_started)
        m_stream.advance();
    m_started = true;
    // The row after the group's last stays for the next group.
    m_ended = m_stream.atEnd() || !belongs(m_stream.current());
    return !m_ended;
}

const QSqlRecord &ReportGroup::Rows::row() const
{
    return m_stream.current();
}

bool ReportGroup::Rows::isLast() const
{
    const QSqlRecord *following = m_stream.following();
    return !following || !belongs(*following);
}

void ReportGroup::Rows::skipRest()
{
    while (next()) {
    }
}

bool ReportGroup::printEach(Db &db, const ReportSource &source, Progress &progress,
                            const QString &caption, const QString &select, const QString &rowOrder,
                            const std::function<void(const ReportGroup &, Rows &)> &print)
{
    const int groups =
        db.scalar(QStringLiteral("Select Count(*) From (Select 1 As N From ") + source.from() +
                      QStringLiteral(" Group By ") + columns() + QStringLiteral(") G"),
                  source.with())
            .toInt();
    if (groups == 0)
        return false;
    progress.start(caption, groups);
    ReportRowStream stream(
        db, select + QStringLiteral(" Order By ") + order() + QLatin1Char(',') + rowOrder,
        source.with());
    int done = 0;
    while (!stream.atEnd()) {
        const ReportGroup group = of(stream.current());
        Rows rows(stream, group);
        print(group, rows);
        rows.skipRest();
        progress.step(qMin(++done, groups));
    }
    return true;
}
