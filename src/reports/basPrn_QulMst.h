// The quality master list (品質マスタ): quality master records as cards, seven a page. The
// quality master screen chooses the records (QulMstSelection) and hands them over.
#pragma once

#include "ReportModule.h"

#include <QList>
#include <QSqlRecord>

class basPrn_QulMst : public ReportModule {
public:
    static constexpr int kCardsPerPage = 7;

    // Rows of MST_QUL (Select *), printed in the order given. 0 on success; 1 on failure
    // (after its message) or when there is no row.
    static int MF_Print(ReportEngine &CrDraw1, const PrintRequest &request,
                        const QList<QSqlRecord> &rows);

private:
    basPrn_QulMst(ReportEngine &CrDraw1, const PrintRequest &request,
                  const QList<QSqlRecord> &rows);
    bool PF_FillPages() override;
    void PP_ShowFrames(int block, bool shown);
    void PP_HideAllFrames();
    void PP_NextPageNumber();
    void PP_FillBlock(int block, const QSqlRecord &row);

    const QList<QSqlRecord> &m_rows;
};
