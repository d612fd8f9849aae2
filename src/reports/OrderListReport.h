// The order list (受注情報): the lines of the latest conversion run, one group of pages per
// factory, order date, set date and brand, 29 lines a page, repeated lot, control number,
// production year and product number left blank, the group's quantity total at its end.
#pragma once

#include "RepeatBlanking.h"
#include "ReportGroup.h"
#include "ReportModule.h"

#include <QSqlRecord>

class OrderListReport : public ReportModule {
public:
    static constexpr int kLinesPerPage = 29;

    // 0 on success; 1 on failure (after its message) or when WRK_RPT is empty.
    static int print(ReportEngine &reportEngine, const PrintRequest &request);

private:
    OrderListReport(ReportEngine &reportEngine, const PrintRequest &request);
    bool fillPages() override;
    void printGroup(const ReportGroup &group, ReportGroup::Rows &rows);
    void printLine(const QSqlRecord &row);

    RepeatBlanking m_repeat;
    int m_line = 1;
};
