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

    // Done when printed; Refused when WRK_RPT is empty (nothing is said: the caller checks
    // first) or the printer is not there; Failed after the failure's message.
    static Outcome print(ReportEngine &reportEngine, const PrintRequest &request);

private:
    OrderListReport(ReportEngine &reportEngine, const PrintRequest &request);
    bool fillPages() override;
    void printGroup(const ReportGroup &group, ReportGroup::Rows &rows);
    void printLine(const QSqlRecord &row);

    RepeatBlanking m_repeat;
    int m_line = 1;
};
