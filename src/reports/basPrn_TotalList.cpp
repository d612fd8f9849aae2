#include "basPrn_TotalList.h"

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

basPrn_TotalList::basPrn_TotalList(ReportEngine &CrDraw1, const PrintRequest &request)
    : ReportModule(CrDraw1, request, QStringLiteral("TotalList"))
{
}

int basPrn_TotalList::MF_Print(ReportEngine &CrDraw1, const PrintRequest &request)
{
    basPrn_TotalList list(CrDraw1, request);
    return list.MF_PrintRun();
}

QString basPrn_TotalList::factoryText(const QString &fcRg, const QString &fcCd)
{
    return fcRg + QLatin1Char(' ') +
           (fcCd.isEmpty() ? QString() : QLatin1Char('(') + fcCd + QLatin1Char(')'));
}

bool basPrn_TotalList::PF_FillPages()
{
    return ReportGroup::printEach(
        db(), source(), progress(), QStringLiteral("合計表"), linesSql(source()), kLineOrder,
        [this](const ReportGroup &group, ReportGroup::Rows &rows) { PP_PrintGroup(group, rows); });
}

void basPrn_TotalList::PP_PrintGroup(const ReportGroup &group, ReportGroup::Rows &rows)
{
    PP_PageHeader();
    m_line = 1;
    while (rows.next()) {
        const QSqlRecord &row = rows.row();
        // A full page goes out before the factory of the next line is written, so that the
        // following page carries its factory heading too.
        if (m_line > kLinesPerPage) {
            m_line = 1;
            layout().PageOutput();
            layout().PageClear();
            PP_PageHeader();
        }
        PP_FactoryFields(group, row);
        PP_Line(row);
        ++m_line;
    }
    layout().PageOutput();
    layout().PageClear();
}

void basPrn_TotalList::PP_FactoryFields(const ReportGroup &group, const QSqlRecord &row)
{
    ReportLayout &l = layout();
    l.FieldSet(QStringLiteral("FR"), factoryText(group.fcRg, group.fcCd));
    l.FieldSet(QStringLiteral("FName"), group.fcNm);
    l.FieldSet(QStringLiteral("SetBi"), group.setDate);
    l.FieldSet(QStringLiteral("FAdress"), text(row, QStringLiteral("ADRESS1")) + QLatin1Char(' ') +
                                              text(row, QStringLiteral("ADRESS2")));
    l.FieldSet(QStringLiteral("NCD"), text(row, QStringLiteral("NOU_NO")));
    l.FieldSet(QStringLiteral("OCD"), text(row, QStringLiteral("OKR_NO")));
    l.FieldSet(QStringLiteral("TCD"), text(row, QStringLiteral("SEI_NO")));
    l.FieldSet(QStringLiteral("FBiko"), text(row, QStringLiteral("FC_BIKO1")));
}

void basPrn_TotalList::PP_Line(const QSqlRecord &row)
{
    const QString n = QString::number(m_line);
    ReportLayout &l = layout();
    l.FieldSet(QStringLiteral("Su") + n, ReportValues::amount(row, QStringLiteral("SU_KEI")));
    l.FieldSet(QStringLiteral("DasmerCD") + n, text(row, QStringLiteral("D_SHO_CD")));
    l.FieldSet(QStringLiteral("OsteraCD") + n, text(row, QStringLiteral("O_SHO_CD")));
    l.FieldSet(QStringLiteral("Tosyou1_") + n, text(row, QStringLiteral("SHO_NM1")));
    l.FieldSet(QStringLiteral("Tosyou2_") + n, text(row, QStringLiteral("SHO_NM2")));
    l.FieldSet(QStringLiteral("SizaiMei") + n, text(row, QStringLiteral("SHO_BIKO1")));
}
