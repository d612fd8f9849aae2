// What the four lists share: the start-up of a print job with its messages (prepareJob),
// the page header (setPageHeader) and the frame of a whole print — start, fill, end, and the
// failure messages. Each list keeps its own state for the length of one job.
#pragma once

#include "Outcome.h"
#include "PrintRequest.h"

#include <QString>

#include <optional>

class ReportEngine;
struct ReportGroup;
class ReportLayout;

class ReportModule {
public:
    virtual ~ReportModule() = default;

    // The layout file of a kind ("OrderList" -> sys_crf/cor_OrderList.crf).
    static QString layoutPath(const QString &kind);

protected:
    ReportModule(ReportEngine &reportEngine, const PrintRequest &request, QString kind);

    // The whole job: prepareJob, fillPages, endJob, close. Done when printed; Refused when
    // there is nothing to print (the caller has said so) or the printer is not there; Failed
    // after the failure's message.
    Outcome runJob();
    // Done when the job is ready to take pages; otherwise after the message, Refused for a
    // printer that is not there, Failed for the rest.
    Outcome prepareJob();
    // Next page number into "Page", now into "Date", and the import date of the rows into
    // "ImpDate" where the layout has it.
    void setPageHeader();
    // The group's set date, order date, brand and factory into the header of the order list
    // and the name production list.
    void setGroupFields(const ReportGroup &group);
    // Fills and outputs every page; false when the first query finds no row.
    virtual bool fillPages() = 0;

    ReportLayout &layout() { return *m_layout; }
    Db &db() { return m_request.db; }
    const ReportSource &source() const { return m_request.source; }
    Progress &progress() { return m_request.progress; }
    int pageNumber() const { return m_page; }
    void nextPageNumber() { ++m_page; }

private:
    QString importDatesText();

    ReportEngine &m_engine;
    PrintRequest m_request;
    QString m_kind;
    ReportLayout *m_layout = nullptr;
    int m_page = 0;
    std::optional<QString> m_importDates;
};
