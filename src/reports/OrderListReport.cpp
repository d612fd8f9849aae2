#include "OrderListReport.h"

#include "Db.h"
#include "Progress.h"
#include "ReportLayout.h"
#include "ReportValues.h"

using ReportValues::text;

namespace {
const QString kFooter = QStringLiteral("Footer");
} // namespace

OrderListReport::OrderListReport(ReportEngine &reportEngine, const PrintRequest &request)
    : ReportModule(reportEngine, request, QStringLiteral("OrderList"))
{
}

Outcome OrderListReport::print(ReportEngine &reportEngine, const PrintRequest &request)
{
    OrderListReport list(reportEngine, request);
    return list.runJob();
}

bool OrderListReport::fillPages()
{
    return ReportGroup::printEach(
        db(), source(), progress(), QStringLiteral("受注情報"),
        QStringLiteral("Select * From ") + source().from(), ReportGroup::lineOrder(),
        [this](const ReportGroup &group, ReportGroup::Rows &rows) { printGroup(group, rows); });
}

void OrderListReport::printGroup(const ReportGroup &group, ReportGroup::Rows &rows)
{
    layout().showSection(kFooter, false);
    setPageHeader();
    qint64 total = 0;
    m_line = 1;
    m_repeat.restart();
    while (rows.next()) {
        setGroupFields(group);
        printLine(rows.row());
        total += ReportValues::number(rows.row(), QStringLiteral("SU"));
        ++m_line;
        if (rows.isLast()) {
            layout().showSection(kFooter, true);
            layout().setField(QStringLiteral("NameKei"), ReportValues::thousands(total));
            break;
        }
        if (m_line > kLinesPerPage) {
            m_line = 1;
            m_repeat.restart();
            layout().outputPage();
            layout().clearPage();
            layout().showSection(kFooter, false);
            setPageHeader();
        }
    }
    layout().outputPage();
    layout().clearPage();
    layout().showSection(kFooter, false);
}

void OrderListReport::printLine(const QSqlRecord &row)
{
    const QString n = QString::number(m_line);
    const auto shown = m_repeat.line(
        {text(row, QStringLiteral("LOT_NO")), text(row, QStringLiteral("KNR_NO")),
         text(row, QStringLiteral("SEISAN_NEN")), text(row, QStringLiteral("HINBAN"))});
    layout().setField(QStringLiteral("LotNo") + n, shown[0]);
    layout().setField(QStringLiteral("KanriNo") + n, shown[1]);
    layout().setField(QStringLiteral("Tuki") + n, shown[2]);
    layout().setField(QStringLiteral("Hinban") + n, shown[3]);
    layout().setField(QStringLiteral("Name") + n, text(row, QStringLiteral("CAR_CD")));
    layout().setField(QStringLiteral("Su") + n, ReportValues::amount(row, QStringLiteral("SU")));
    layout().setField(QStringLiteral("Color") + n, text(row, QStringLiteral("COL")));
    layout().setField(QStringLiteral("SizeView") + n, text(row, QStringLiteral("SIZE0")));
}
