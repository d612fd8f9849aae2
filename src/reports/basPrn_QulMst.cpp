#include "basPrn_QulMst.h"

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

basPrn_QulMst::basPrn_QulMst(ReportEngine &CrDraw1, const PrintRequest &request,
                             const QList<QSqlRecord> &rows)
    : ReportModule(CrDraw1, request, QStringLiteral("QulMst")), m_rows(rows)
{
}

int basPrn_QulMst::MF_Print(ReportEngine &CrDraw1, const PrintRequest &request,
                            const QList<QSqlRecord> &rows)
{
    basPrn_QulMst list(CrDraw1, request, rows);
    return list.MF_PrintRun();
}

bool basPrn_QulMst::PF_FillPages()
{
    if (m_rows.isEmpty())
        return false;
    progress().start(QStringLiteral("品質マスタ"), int(m_rows.size()));
    int block = 1;
    PP_HideAllFrames();
    PP_NextPageNumber();
    for (int i = 0; i < m_rows.size(); ++i) {
        PP_ShowFrames(block, true);
        PP_FillBlock(block, m_rows[i]);
        progress().step(i + 1);
        ++block;
        if (i == m_rows.size() - 1) {
            layout().PageOutput();
            layout().PageClear();
            break;
        }
        if (block > kCardsPerPage) {
            block = 1;
            layout().PageOutput();
            layout().PageClear();
            PP_HideAllFrames();
            PP_NextPageNumber();
        }
    }
    return true;
}

void basPrn_QulMst::PP_NextPageNumber()
{
    nextPageNumber();
    layout().FieldSet(QStringLiteral("Page"), qint64(pageNumber()));
}

// The frame of a card: its border, heading band, rules, captions, the quality key box and the
// six care-symbol boxes. An unfilled card prints nothing at all.
void basPrn_QulMst::PP_ShowFrames(int block, bool shown)
{
    ReportLayout &l = layout();
    l.FieldShow(blockName(QStringLiteral("Waku"), block), shown);
    l.FieldShow(blockName(QStringLiteral("IN"), block), shown);
    for (int i = 1; i <= 4; ++i)
        l.FieldShow(QStringLiteral("L%1_%2").arg(i).arg(block), shown);
    for (int i = 1; i <= 5; ++i)
        l.FieldShow(QStringLiteral("LN%1_%2").arg(i).arg(block), shown);
    for (int i = 1; i <= 10; ++i)
        l.FieldShow(QStringLiteral("G%1_%2").arg(i).arg(block), shown);
    l.FieldShow(blockName(QStringLiteral("QUL_KEY"), block), shown);
    for (int i = 1; i <= 6; ++i)
        l.FieldShow(itemName(QStringLiteral("EHJ"), block, i), shown);
}

void basPrn_QulMst::PP_HideAllFrames()
{
    for (int block = 1; block <= kCardsPerPage; ++block)
        PP_ShowFrames(block, false);
}

void basPrn_QulMst::PP_FillBlock(int block, const QSqlRecord &row)
{
    ReportLayout &l = layout();
    l.FieldSet(blockName(QStringLiteral("QUL_KEY"), block), text(row, QStringLiteral("QUL_KEY")));
    l.FieldSet(blockName(QStringLiteral("QUL_NO"), block), text(row, QStringLiteral("QUL_NO")));
    l.FieldSet(blockName(QStringLiteral("LAYOUT"), block),
               text(row, QStringLiteral("LAYOUT2")) + text(row, QStringLiteral("LAYOUT3")) +
                   text(row, QStringLiteral("LAYOUT4")));
    l.FieldSet(blockName(QStringLiteral("TIME_STAMP"), block),
               text(row, QStringLiteral("TIME_STAMP")).left(10));
    l.FieldSet(blockName(QStringLiteral("USER_NM"), block), text(row, QStringLiteral("USER_NM")));
    for (int j = 1; j <= 10; ++j) {
        const QString n = QString::number(j);
        l.FieldSet(itemName(QStringLiteral("BUI"), block, j), text(row, QStringLiteral("BUI") + n));
        l.FieldSet(itemName(QStringLiteral("SOS"), block, j), text(row, QStringLiteral("SOS") + n));
        l.FieldSet(itemName(QStringLiteral("KON"), block, j), text(row, QStringLiteral("KON") + n));
    }
    for (int i = 1; i <= 6; ++i)
        l.FieldSet(itemName(QStringLiteral("EHJ"), block, i),
                   text(row, QStringLiteral("EHJ") + QString::number(i)));
    for (int k = 1; k <= 2; ++k)
        l.FieldSet(itemName(QStringLiteral("EFUKI"), block, k),
                   text(row, QStringLiteral("EFUKI") + QString::number(k)));
}
