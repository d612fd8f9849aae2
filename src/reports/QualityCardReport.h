// The quality master list (品質マスタ): quality master records as cards, seven a page. The
// quality master screen chooses the records (QualityCardSelection) and hands them over.
#pragma once

#include "ReportModule.h"

#include <QList>
#include <QSqlRecord>

class QualityCardReport : public ReportModule {
public:
    static constexpr int kCardsPerPage = 7;

    // Rows of MST_QUL (Select *), printed in the order given. Done when printed; Refused when
    // there is no row or the printer is not there; Failed after the failure's message.
    static Outcome print(ReportEngine &reportEngine, const PrintRequest &request,
                         const QList<QSqlRecord> &rows);

private:
    QualityCardReport(ReportEngine &reportEngine, const PrintRequest &request,
                      const QList<QSqlRecord> &rows);
    bool fillPages() override;
    void showCardFrame(int block, bool shown);
    void hideCardFrames();
    void numberNextPage();
    void fillCard(int block, const QSqlRecord &row);

    const QList<QSqlRecord> &m_rows;
};
