// The order list (受注情報): the lines of the latest conversion run, one group of pages per
// factory, order date, set date and brand, 29 lines a page, repeated lot, control number,
// production year and product number left blank, the group's quantity total at its end.
#pragma once

#include "RepeatBlanking.h"
#include "ReportGroup.h"
#include "ReportModule.h"

#include <QSqlRecord>

class basPrn_OrderList : public ReportModule {
public:
    static constexpr int kLinesPerPage = 29;

    // 0 on success; 1 on failure (after its message) or when WRK_RPT is empty.
    static int MF_Print(ReportEngine &CrDraw1, const PrintRequest &request);

private:
    basPrn_OrderList(ReportEngine &CrDraw1, const PrintRequest &request);
    bool PF_FillPages() override;
    void PP_PrintGroup(const ReportGroup &group, ReportGroup::Rows &rows);
    void PP_GroupFields(const ReportGroup &group);
    void PP_Line(const QSqlRecord &row);

    RepeatBlanking m_repeat;
    int m_line = 1;
};
