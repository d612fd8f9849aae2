// The name-production list (ネーム生産情報): the production sheet of the latest conversion
// run. Per group of factory, order date, set date and brand: detail pages of 29 lines, then a
// page of the group's materials; after the last group one page of material totals for the run.
#pragma once

#include "RepeatBlanking.h"
#include "ReportGroup.h"
#include "ReportModule.h"

#include <QSqlRecord>

class ReportRowStream;

class NameProductionListReport : public ReportModule {
public:
    static constexpr int kLinesPerPage = 29;
    static constexpr int kFinalTotalLines = 17;

    // Done when printed; Refused when WRK_RPT is empty (nothing is said: the caller checks
    // first) or the printer is not there; Failed after the failure's message.
    static Outcome print(ReportEngine &reportEngine, const PrintRequest &request);

private:
    enum class PageKind { Detail, GroupMaterials, FinalTotals };

    NameProductionListReport(ReportEngine &reportEngine, const PrintRequest &request);
    bool fillPages() override;
    void printGroup(const ReportGroup &group, ReportGroup::Rows &rows);
    void showSections(PageKind kind);
    void hideTotals();
    void printLine(const QSqlRecord &row);
    void printGroupMaterials(const ReportGroup &group);
    void printFinalTotals();

    RepeatBlanking m_repeat;
    ReportRowStream *m_materials = nullptr; // the groups' materials, while the groups print
    int m_line = 1;
};
