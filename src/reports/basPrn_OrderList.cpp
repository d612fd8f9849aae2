#include "basPrn_OrderList.h"

#include "Db.h"
#include "Progress.h"
#include "ReportLayout.h"
#include "ReportValues.h"

using ReportValues::text;

namespace {
const QString kFooter = QStringLiteral("Footer");
} // namespace

basPrn_OrderList::basPrn_OrderList(ReportEngine &CrDraw1, const PrintRequest &request)
    : ReportModule(CrDraw1, request, QStringLiteral("OrderList"))
{
}

int basPrn_OrderList::MF_Print(ReportEngine &CrDraw1, const PrintRequest &request)
{
    basPrn_OrderList list(CrDraw1, request);
    return list.MF_PrintRun();
}

bool basPrn_OrderList::PF_FillPages()
{
    return ReportGroup::printEach(
        db(), source(), progress(), QStringLiteral("受注情報"),
        QStringLiteral("Select * From ") + source().from(), ReportGroup::lineOrder(),
        [this](const ReportGroup &group, ReportGroup::Rows &rows) { PP_PrintGroup(group, rows); });
}

void basPrn_OrderList::PP_PrintGroup(const ReportGroup &group, ReportGroup::Rows &rows)
{
    layout().SectionShow(kFooter, false);
    PP_PageHeader();
    qint64 total = 0;
    m_line = 1;
    m_repeat.restart();
    while (rows.next()) {
        PP_GroupFields(group);
        PP_Line(rows.row());
        total += ReportValues::number(rows.row(), QStringLiteral("SU"));
        ++m_line;
        if (rows.isLast()) {
            layout().SectionShow(kFooter, true);
            layout().FieldSet(QStringLiteral("NameKei"), ReportValues::thousands(total));
            break;
        }
        if (m_line > kLinesPerPage) {
            m_line = 1;
            m_repeat.restart();
            layout().PageOutput();
            layout().PageClear();
            layout().SectionShow(kFooter, false);
            PP_PageHeader();
        }
    }
    layout().PageOutput();
    layout().PageClear();
    layout().SectionShow(kFooter, false);
}

void basPrn_OrderList::PP_GroupFields(const ReportGroup &group)
{
    layout().FieldSet(QStringLiteral("SetBi"), group.setDate);
    layout().FieldSet(QStringLiteral("OrderDate"), group.ordDate);
    layout().FieldSet(QStringLiteral("Brand"), group.brCd);
    layout().FieldSet(QStringLiteral("FR"), group.fcRg);
    layout().FieldSet(QStringLiteral("FC"), group.fcCd);
    layout().FieldSet(QStringLiteral("FN"), group.fcNm);
}

void basPrn_OrderList::PP_Line(const QSqlRecord &row)
{
    const QString n = QString::number(m_line);
    const auto shown = m_repeat.line(
        {text(row, QStringLiteral("LOT_NO")), text(row, QStringLiteral("KNR_NO")),
         text(row, QStringLiteral("SEISAN_NEN")), text(row, QStringLiteral("HINBAN"))});
    layout().FieldSet(QStringLiteral("LotNo") + n, shown[0]);
    layout().FieldSet(QStringLiteral("KanriNo") + n, shown[1]);
    layout().FieldSet(QStringLiteral("Tuki") + n, shown[2]);
    layout().FieldSet(QStringLiteral("Hinban") + n, shown[3]);
    layout().FieldSet(QStringLiteral("Name") + n, text(row, QStringLiteral("CAR_CD")));
    layout().FieldSet(QStringLiteral("Su") + n, ReportValues::amount(row, QStringLiteral("SU")));
    layout().FieldSet(QStringLiteral("Color") + n, text(row, QStringLiteral("COL")));
    layout().FieldSet(QStringLiteral("SizeView") + n, text(row, QStringLiteral("SIZE0")));
}
