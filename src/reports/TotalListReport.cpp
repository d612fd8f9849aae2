#include "TotalListReport.h"

#include "Db.h"
#include "Progress.h"
#include "ReportLayout.h"
#include "ReportValues.h"

using ReportValues::text;

namespace {
// CAR_CD stands twice in the list of columns, as the sheet has always grouped it. The sort
// ends with the other grouped columns so that equal name types come out in a fixed order.
// Every group's lines come from one grouped pass in the groups' order.
const QString kLineColumns = QStringLiteral("ADRESS1,ADRESS2,NOU_NO,OKR_NO,SEI_NO,CAR_CD,FC_BIKO1,"
                                            "CAR_CD,D_SHO_CD,O_SHO_CD,SHO_NM1,SHO_NM2,SHO_BIKO1");
const QString kLineOrder = QStringLiteral("CAR_CD,D_SHO_CD,O_SHO_CD,SHO_NM1,SHO_NM2,SHO_BIKO1,"
                                          "ADRESS1,ADRESS2,NOU_NO,OKR_NO,SEI_NO,FC_BIKO1");

QString linesSql(const ReportSource &source)
{
    return QStringLiteral("Select ") + ReportGroup::columns() + QStringLiteral(",Sum(SU) SU_KEI,") +
           kLineColumns + QStringLiteral(" From ") + source.from() + QStringLiteral(" Group By ") +
           ReportGroup::columns() + QLatin1Char(',') + kLineColumns;
}
} // namespace

TotalListReport::TotalListReport(ReportEngine &reportEngine, const PrintRequest &request)
    : ReportModule(reportEngine, request, QStringLiteral("TotalList"))
{
}

Outcome TotalListReport::print(ReportEngine &reportEngine, const PrintRequest &request)
{
    TotalListReport list(reportEngine, request);
    return list.runJob();
}

QString TotalListReport::factoryText(const QString &fcRg, const QString &fcCd)
{
    return fcRg + QLatin1Char(' ') +
           (fcCd.isEmpty() ? QString() : QLatin1Char('(') + fcCd + QLatin1Char(')'));
}

bool TotalListReport::fillPages()
{
    return ReportGroup::printEach(
        db(), source(), progress(), QStringLiteral("合計表"), linesSql(source()), kLineOrder,
        [this](const ReportGroup &group, ReportGroup::Rows &rows) { printGroup(group, rows); });
}

void TotalListReport::printGroup(const ReportGroup &group, ReportGroup::Rows &rows)
{
    setPageHeader();
    m_line = 1;
    while (rows.next()) {
        const QSqlRecord &row = rows.row();
        // A full page goes out before the factory of the next line is written, so that the
        // following page carries its factory heading too.
        if (m_line > kLinesPerPage) {
            m_line = 1;
            layout().outputPage();
            layout().clearPage();
            setPageHeader();
        }
        setFactoryFields(group, row);
        printLine(row);
        ++m_line;
    }
    layout().outputPage();
    layout().clearPage();
}

void TotalListReport::setFactoryFields(const ReportGroup &group, const QSqlRecord &row)
{
    ReportLayout &l = layout();
    l.setField(QStringLiteral("FR"), factoryText(group.fcRg, group.fcCd));
    l.setField(QStringLiteral("FName"), group.fcNm);
    l.setField(QStringLiteral("SetBi"), group.setDate);
    l.setField(QStringLiteral("FAdress"), text(row, QStringLiteral("ADRESS1")) + QLatin1Char(' ') +
                                              text(row, QStringLiteral("ADRESS2")));
    l.setField(QStringLiteral("NCD"), text(row, QStringLiteral("NOU_NO")));
    l.setField(QStringLiteral("OCD"), text(row, QStringLiteral("OKR_NO")));
    l.setField(QStringLiteral("TCD"), text(row, QStringLiteral("SEI_NO")));
    l.setField(QStringLiteral("FBiko"), text(row, QStringLiteral("FC_BIKO1")));
}

void TotalListReport::printLine(const QSqlRecord &row)
{
    const QString n = QString::number(m_line);
    ReportLayout &l = layout();
    l.setField(QStringLiteral("Su") + n, ReportValues::amount(row, QStringLiteral("SU_KEI")));
    l.setField(QStringLiteral("DasmerCD") + n, text(row, QStringLiteral("D_SHO_CD")));
    l.setField(QStringLiteral("OsteraCD") + n, text(row, QStringLiteral("O_SHO_CD")));
    l.setField(QStringLiteral("Tosyou1_") + n, text(row, QStringLiteral("SHO_NM1")));
    l.setField(QStringLiteral("Tosyou2_") + n, text(row, QStringLiteral("SHO_NM2")));
    l.setField(QStringLiteral("SizaiMei") + n, text(row, QStringLiteral("SHO_BIKO1")));
}
