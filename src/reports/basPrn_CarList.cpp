#include "basPrn_CarList.h"

#include "Db.h"
#include "Progress.h"
#include "ReportLayout.h"
#include "ReportRowStream.h"
#include "ReportValues.h"

using ReportValues::amount;
using ReportValues::text;

namespace {
// "凸" letterpress, "サ" thermal transfer, nothing while the machine is not assigned.
QString machineMark(const QString &dataFlg)
{
    if (dataFlg == QLatin1String("0"))
        return QStringLiteral("凸");
    if (dataFlg == QLatin1String("1"))
        return QStringLiteral("サ");
    return QString();
}
} // namespace

basPrn_CarList::basPrn_CarList(ReportEngine &CrDraw1, const PrintRequest &request)
    : ReportModule(CrDraw1, request, QStringLiteral("CarList"))
{
}

int basPrn_CarList::MF_Print(ReportEngine &CrDraw1, const PrintRequest &request)
{
    basPrn_CarList list(CrDraw1, request);
    return list.MF_PrintRun();
}

bool basPrn_CarList::PF_FillPages()
{
    // The groups' materials come from a second pass in the same group order, read alongside
    // (opened first, so that it ends last).
    ReportRowStream materials(db(),
                              QStringLiteral("Select ") + ReportGroup::columns() +
                                  QStringLiteral(", SHO_NM2, Sum(SU) As SU_KEI, FC_BIKO1 From ") +
                                  source().from() + QStringLiteral(" Group By ") +
                                  ReportGroup::columns() +
                                  QStringLiteral(", SHO_NM2, FC_BIKO1 Order By ") +
                                  ReportGroup::order() + QStringLiteral(", SHO_NM2, FC_BIKO1"),
                              source().with());
    m_materials = &materials;
    const bool printed = ReportGroup::printEach(
        db(), source(), progress(), QStringLiteral("ネーム生産情報"),
        QStringLiteral("Select * From ") + source().from(), ReportGroup::lineOrder(),
        [this](const ReportGroup &group, ReportGroup::Rows &rows) { PP_PrintGroup(group, rows); });
    m_materials = nullptr;
    if (!printed)
        return false;
    PP_FinalTotals();
    layout().PageOutput();
    layout().PageClear();
    return true;
}

void basPrn_CarList::PP_Sections(PageKind kind)
{
    layout().SectionShow(QStringLiteral("Head"), kind != PageKind::FinalTotals);
    layout().SectionShow(QStringLiteral("Nodata_Header"), kind == PageKind::Detail);
    layout().SectionShow(QStringLiteral("Data_Header"), kind == PageKind::Detail);
    layout().SectionShow(QStringLiteral("Kei"), kind == PageKind::GroupMaterials);
    layout().SectionShow(QStringLiteral("Footer"), kind == PageKind::FinalTotals);
}

void basPrn_CarList::PP_HideTotals()
{
    layout().SectionShow(QStringLiteral("Footer"), false);
    layout().SectionShow(QStringLiteral("Kei"), false);
}

void basPrn_CarList::PP_PrintGroup(const ReportGroup &group, ReportGroup::Rows &rows)
{
    PP_HideTotals();
    PP_PageHeader();
    m_line = 1;
    m_repeat.restart();
    PP_Sections(PageKind::Detail);
    while (rows.next()) {
        PP_GroupFields(group);
        PP_Line(rows.row());
        ++m_line;
        if (rows.isLast()) {
            layout().PageOutput();
            layout().PageClear();
            PP_GroupMaterials(group);
            break;
        }
        if (m_line > kLinesPerPage) {
            m_line = 1;
            m_repeat.restart();
            layout().PageOutput();
            layout().PageClear();
            PP_HideTotals();
            PP_PageHeader();
        }
    }
    layout().PageOutput();
    layout().PageClear();
    PP_HideTotals();
}

void basPrn_CarList::PP_GroupFields(const ReportGroup &group)
{
    layout().FieldSet(QStringLiteral("SetBi"), group.setDate);
    layout().FieldSet(QStringLiteral("OrderDate"), group.ordDate);
    layout().FieldSet(QStringLiteral("Brand"), group.brCd);
    layout().FieldSet(QStringLiteral("FR"), group.fcRg);
    layout().FieldSet(QStringLiteral("FC"), group.fcCd);
    layout().FieldSet(QStringLiteral("FN"), group.fcNm);
}

void basPrn_CarList::PP_Line(const QSqlRecord &row)
{
    const QString n = QString::number(m_line);
    const auto shown = m_repeat.line(
        {text(row, QStringLiteral("LOT_NO")), text(row, QStringLiteral("KNR_NO")),
         text(row, QStringLiteral("SEISAN_NEN")), text(row, QStringLiteral("HINBAN"))});
    ReportLayout &l = layout();
    l.FieldSet(QStringLiteral("LotNo") + n, shown[0]);
    l.FieldSet(QStringLiteral("KanriNo") + n, shown[1]);
    l.FieldSet(QStringLiteral("Tuki") + n, shown[2]);
    l.FieldSet(QStringLiteral("Hinban") + n, shown[3]);
    l.FieldSet(QStringLiteral("Name1_") + n, text(row, QStringLiteral("SHO_NM2")));
    l.FieldSet(QStringLiteral("Su") + n, amount(row, QStringLiteral("SU")));
    l.FieldSet(QStringLiteral("YobiSu") + n, amount(row, QStringLiteral("SPARE_SU")));
    l.FieldSet(QStringLiteral("Color") + n, text(row, QStringLiteral("COL")));
    l.FieldSet(QStringLiteral("Row") + n, text(row, QStringLiteral("ROW")));
    l.FieldSet(QStringLiteral("SizeView") + n, text(row, QStringLiteral("SIZE0")));
    l.FieldSet(QStringLiteral("QulKey") + n, text(row, QStringLiteral("QUL_KEY")));
    l.FieldSet(QStringLiteral("QulKigou") + n, text(row, QStringLiteral("QUL_NO")));
    l.FieldSet(QStringLiteral("Gensan") + n, text(row, QStringLiteral("GENSAN")));
    l.FieldSet(QStringLiteral("Printer") + n, machineMark(text(row, QStringLiteral("DATA_FLG"))));
    l.FieldSet(QStringLiteral("LotSu") + n, amount(row, QStringLiteral("LOT_SU")));
}

// The group's materials. A group with more materials than the page holds continues on
// another material page instead of failing the whole list.
void basPrn_CarList::PP_GroupMaterials(const ReportGroup &group)
{
    PP_Sections(PageKind::GroupMaterials);
    QList<QSqlRecord> rows;
    for (ReportGroup::Rows materials(*m_materials, group); materials.next();)
        rows << materials.row();
    if (rows.isEmpty())
        return;
    const QString remark = text(rows.first(), QStringLiteral("FC_BIKO1"));
    int i = 1;
    for (const QSqlRecord &row : rows) {
        if (i > 1 && !layout().hasField(QStringLiteral("SizaiNM") + QString::number(i))) {
            layout().PageOutput();
            layout().PageClear();
            i = 1;
        }
        if (i == 1) {
            PP_GroupFields(group);
            layout().FieldSet(QStringLiteral("F_Bikou"), remark);
        }
        layout().FieldSet(QStringLiteral("SizaiNM") + QString::number(i),
                          text(row, QStringLiteral("SHO_NM2")));
        layout().FieldSet(QStringLiteral("PKei") + QString::number(i),
                          amount(row, QStringLiteral("SU_KEI")));
        ++i;
    }
}

void basPrn_CarList::PP_FinalTotals()
{
    const QList<QSqlRecord> rows =
        db().rows(QStringLiteral("Select SHO_NM2, Sum(SU) As SU_KEI From ") + source().from() +
                      QStringLiteral(" Group By SHO_NM2 Order By SHO_NM2 "),
                  source().with());
    if (rows.isEmpty())
        return;
    PP_Sections(PageKind::FinalTotals);
    qint64 total = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const QSqlRecord &row = rows[i];
        total += ReportValues::number(row, QStringLiteral("SU_KEI"));
        if (i >= kFinalTotalLines)
            continue;
        const QString name = text(row, QStringLiteral("SHO_NM2"));
        const QString n = QString::number(i + 1);
        layout().FieldSet(QStringLiteral("SitajiMei") + n, name.isEmpty()
                                                               ? QStringLiteral("不明資材 計")
                                                               : name + QStringLiteral("　計"));
        layout().FieldSet(QStringLiteral("Kei") + n, amount(row, QStringLiteral("SU_KEI")));
    }
    layout().FieldSet(QStringLiteral("Soukei"), ReportValues::thousands(total));
}
