// The total list (合計表): the material order sheet of the latest conversion run. Per group of
// factory, order date, set date and brand it prints the factory's address and codes and one
// line per name type and material with the summed quantity, 8 lines a page.
#pragma once

#include "ReportGroup.h"
#include "ReportModule.h"

#include <QSqlRecord>

class TotalListReport : public ReportModule {
public:
    static constexpr int kLinesPerPage = 8;

    // Done when printed; Refused when WRK_RPT is empty (nothing is said: the caller checks
    // first) or the printer is not there; Failed after the failure's message.
    static Outcome print(ReportEngine &reportEngine, const PrintRequest &request);

    // "FR": the region, a blank, and the factory code in brackets when there is one.
    static QString factoryText(const QString &fcRg, const QString &fcCd);

private:
    TotalListReport(ReportEngine &reportEngine, const PrintRequest &request);
    bool fillPages() override;
    void printGroup(const ReportGroup &group, ReportGroup::Rows &rows);
    void setFactoryFields(const ReportGroup &group, const QSqlRecord &row);
    void printLine(const QSqlRecord &row);

    int m_line = 1;
};
