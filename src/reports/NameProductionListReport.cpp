#include "NameProductionListReport.h"

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

NameProductionListReport::NameProductionListReport(ReportEngine &reportEngine,
                                                   const PrintRequest &request)
    : ReportModule(reportEngine, request, QStringLiteral("CarList"))
{
}

Outcome NameProductionListReport::print(ReportEngine &reportEngine, const PrintRequest &request)
{
    NameProductionListReport list(reportEngine, request);
    return list.runJob();
}

bool NameProductionListReport::fillPages()
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
        [this](const ReportGroup &group, ReportGroup::Rows &rows) { printGroup(group, rows); });
    m_materials = nullptr;
    if (!printed)
        return false;
    printFinalTotals();
    layout().outputPage();
    layout().clearPage();
    return true;
}

void NameProductionListReport::showSections(PageKind kind)
{
    layout().showSection(QStringLiteral("Head"), kind != PageKind::FinalTotals);
    layout().showSection(QStringLiteral("Nodata_Header"), kind == PageKind::Detail);
    layout().showSection(QStringLiteral("Data_Header"), kind == PageKind::Detail);
    layout().showSection(QStringLiteral("Kei"), kind == PageKind::GroupMaterials);
    layout().showSection(QStringLiteral("Footer"), kind == PageKind::FinalTotals);
}

void NameProductionListReport::hideTotals()
{
    layout().showSection(QStringLiteral("Footer"), false);
    layout().showSection(QStringLiteral("Kei"), false);
}

void NameProductionListReport::printGroup(const ReportGroup &group, ReportGroup::Rows &rows)
{
    hideTotals();
    setPageHeader();
    m_line = 1;
    m_repeat.restart();
    showSections(PageKind::Detail);
    while (rows.next()) {
        setGroupFields(group);
        printLine(rows.row());
        ++m_line;
        if (rows.isLast()) {
            layout().outputPage();
            layout().clearPage();
            printGroupMaterials(group);
            break;
        }
        if (m_line > kLinesPerPage) {
            m_line = 1;
            m_repeat.restart();
            layout().outputPage();
            layout().clearPage();
            hideTotals();
            setPageHeader();
        }
    }
    layout().outputPage();
    layout().clearPage();
    hideTotals();
}

void NameProductionListReport::printLine(const QSqlRecord &row)
{
    const QString n = QString::number(m_line);
    const auto shown = m_repeat.line(
        {text(row, QStringLiteral("LOT_NO")), text(row, QStringLiteral("KNR_NO")),
         text(row, QStringLiteral("SEISAN_NEN")), text(row, QStringLiteral("HINBAN"))});
    ReportLayout &l = layout();
    l.setField(QStringLiteral("LotNo") + n, shown[0]);
    l.setField(QStringLiteral("KanriNo") + n, shown[1]);
    l.setField(QStringLiteral("Tuki") + n, shown[2]);
    l.setField(QStringLiteral("Hinban") + n, shown[3]);
    l.setField(QStringLiteral("Name1_") + n, text(row, QStringLiteral("SHO_NM2")));
    l.setField(QStringLiteral("Su") + n, amount(row, QStringLiteral("SU")));
    l.setField(QStringLiteral("YobiSu") + n, amount(row, QStringLiteral("SPARE_SU")));
    l.setField(QStringLiteral("Color") + n, text(row, QStringLiteral("COL")));
    l.setField(QStringLiteral("Row") + n, text(row, QStringLiteral("ROW")));
    l.setField(QStringLiteral("SizeView") + n, text(row, QStringLiteral("SIZE0")));
    l.setField(QStringLiteral("QulKey") + n, text(row, QStringLiteral("QUL_KEY")));
    l.setField(QStringLiteral("QulKigou") + n, text(row, QStringLiteral("QUL_NO")));
    l.setField(QStringLiteral("Gensan") + n, text(row, QStringLiteral("GENSAN")));
    l.setField(QStringLiteral("Printer") + n, machineMark(text(row, QStringLiteral("DATA_FLG"))));
    l.setField(QStringLiteral("LotSu") + n, amount(row, QStringLiteral("LOT_SU")));
}

// The group's materials. A group with more materials than the page holds continues on
// another material page instead of failing the whole list.
void NameProductionListReport::printGroupMaterials(const ReportGroup &group)
{
    showSections(PageKind::GroupMaterials);
    QList<QSqlRecord> rows;
    for (ReportGroup::Rows materials(*m_materials, group); materials.next();)
        rows << materials.row();
    if (rows.isEmpty())
        return;
    const QString remark = text(rows.first(), QStringLiteral("FC_BIKO1"));
    int i = 1;
    for (const QSqlRecord &row : rows) {
        if (i > 1 && !layout().hasField(QStringLiteral("SizaiNM") + QString::number(i))) {
            layout().outputPage();
            layout().clearPage();
            i = 1;
        }
        if (i == 1) {
            setGroupFields(group);
            layout().setField(QStringLiteral("F_Bikou"), remark);
        }
        layout().setField(QStringLiteral("SizaiNM") + QString::number(i),
                          text(row, QStringLiteral("SHO_NM2")));
        layout().setField(QStringLiteral("PKei") + QString::number(i),
                          amount(row, QStringLiteral("SU_KEI")));
        ++i;
    }
}

void NameProductionListReport::printFinalTotals()
{
    const QList<QSqlRecord> rows =
        db().rows(QStringLiteral("Select SHO_NM2, Sum(SU) As SU_KEI From ") + source().from() +
                      QStringLiteral(" Group By SHO_NM2 Order By SHO_NM2 "),
                  source().with());
    if (rows.isEmpty())
        return;
    showSections(PageKind::FinalTotals);
    qint64 total = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const QSqlRecord &row = rows[i];
        total += ReportValues::number(row, QStringLiteral("SU_KEI"));
        if (i >= kFinalTotalLines)
            continue;
        const QString name = text(row, QStringLiteral("SHO_NM2"));
        const QString n = QString::number(i + 1);
        layout().setField(QStringLiteral("SitajiMei") + n, name.isEmpty()
                                                               ? QStringLiteral("不明資材 計")
                                                               : name + QStringLiteral("　計"));
        layout().setField(QStringLiteral("Kei") + n, amount(row, QStringLiteral("SU_KEI")));
    }
    layout().setField(QStringLiteral("Soukei"), ReportValues::thousands(total));
}
