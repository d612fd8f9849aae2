#include "QualityCardReport.h"

#include "Progress.h"
#include "ReportLayout.h"
#include "ReportValues.h"

using ReportValues::text;

namespace {
QString blockName(const QString &name, int block)
{
    return name + QString::number(block);
}

// "BUI" + 2 + "_" + 3 -> BUI2_3
QString itemName(const QString &name, int block, int item)
{
    return name + QString::number(block) + QLatin1Char('_') + QString::number(item);
}
} // namespace

QualityCardReport::QualityCardReport(ReportEngine &reportEngine, const PrintRequest &request,
                                     const QList<QSqlRecord> &rows)
    : ReportModule(reportEngine, request, QStringLiteral("QulMst")), m_rows(rows)
{
}

Outcome QualityCardReport::print(ReportEngine &reportEngine, const PrintRequest &request,
                                 const QList<QSqlRecord> &rows)
{
    QualityCardReport list(reportEngine, request, rows);
    return list.runJob();
}

bool QualityCardReport::fillPages()
{
    if (m_rows.isEmpty())
        return false;
    progress().start(QStringLiteral("品質マスタ"), int(m_rows.size()));
    int block = 1;
    hideCardFrames();
    numberNextPage();
    for (int i = 0; i < m_rows.size(); ++i) {
        showCardFrame(block, true);
        fillCard(block, m_rows[i]);
        progress().step(i + 1);
        ++block;
        if (i == m_rows.size() - 1) {
            layout().outputPage();
            layout().clearPage();
            break;
        }
        if (block > kCardsPerPage) {
            block = 1;
            layout().outputPage();
            layout().clearPage();
            hideCardFrames();
            numberNextPage();
        }
    }
    return true;
}

void QualityCardReport::numberNextPage()
{
    nextPageNumber();
    layout().setField(QStringLiteral("Page"), qint64(pageNumber()));
}

// The frame of a card: its border, heading band, rules, captions, the quality key box and the
// six care-symbol boxes. An unfilled card prints nothing at all.
void QualityCardReport::showCardFrame(int block, bool shown)
{
    ReportLayout &l = layout();
    l.showField(blockName(QStringLiteral("Waku"), block), shown);
    l.showField(blockName(QStringLiteral("IN"), block), shown);
    for (int i = 1; i <= 4; ++i)
        l.showField(QStringLiteral("L%1_%2").arg(i).arg(block), shown);
    for (int i = 1; i <= 5; ++i)
        l.showField(QStringLiteral("LN%1_%2").arg(i).arg(block), shown);
    for (int i = 1; i <= 10; ++i)
        l.showField(QStringLiteral("G%1_%2").arg(i).arg(block), shown);
    l.showField(blockName(QStringLiteral("QUL_KEY"), block), shown);
    for (int i = 1; i <= 6; ++i)
        l.showField(itemName(QStringLiteral("EHJ"), block, i), shown);
}

void QualityCardReport::hideCardFrames()
{
    for (int block = 1; block <= kCardsPerPage; ++block)
        showCardFrame(block, false);
}

void QualityCardReport::fillCard(int block, const QSqlRecord &row)
{
    ReportLayout &l = layout();
    l.setField(blockName(QStringLiteral("QUL_KEY"), block), text(row, QStringLiteral("QUL_KEY")));
    l.setField(blockName(QStringLiteral("QUL_NO"), block), text(row, QStringLiteral("QUL_NO")));
    l.setField(blockName(QStringLiteral("LAYOUT"), block),
               text(row, QStringLiteral("LAYOUT2")) + text(row, QStringLiteral("LAYOUT3")) +
                   text(row, QStringLiteral("LAYOUT4")));
    l.setField(blockName(QStringLiteral("TIME_STAMP"), block),
               text(row, QStringLiteral("TIME_STAMP")).left(10));
    l.setField(blockName(QStringLiteral("USER_NM"), block), text(row, QStringLiteral("USER_NM")));
    for (int j = 1; j <= 10; ++j) {
        const QString n = QString::number(j);
        l.setField(itemName(QStringLiteral("BUI"), block, j), text(row, QStringLiteral("BUI") + n));
        l.setField(itemName(QStringLiteral("SOS"), block, j), text(row, QStringLiteral("SOS") + n));
        l.setField(itemName(QStringLiteral("KON"), block, j), text(row, QStringLiteral("KON") + n));
    }
    for (int i = 1; i <= 6; ++i)
        l.setField(itemName(QStringLiteral("EHJ"), block, i),
                   text(row, QStringLiteral("EHJ") + QString::number(i)));
    for (int k = 1; k <= 2; ++k)
        l.setField(itemName(QStringLiteral("EFUKI"), block, k),
                   text(row, QStringLiteral("EFUKI") + QString::number(k)));
}
