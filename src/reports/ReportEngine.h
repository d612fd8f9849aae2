// The desk's report engine: fills a layout (sys_crf/cor_*.crf) with values by field name and
// sends the pages to a printer through QPainter. Its operations are the ones every list uses,
// in the order of a job:
//
//   init → startJob(kind, printer) → printSettings().setCopies(1) → openLayout(path)
//   → printSettings().applyPaper(layout) → { setField / showField / showSection,
//   outputPage, clearPage }* → endJob → close
//
// A job on the PDF printer ("PDFファイル") becomes a file in the installation's print/ folder,
// handed to the desktop when the job ends. With recording on, the engine also keeps every
// output page as values and shown sections (pages()), so the lists can be checked in tests.
#pragma once

#include "Outcome.h"
#include "RecordedPage.h"

#include <QList>
#include <QString>

#include <memory>

class QPainter;
class PrintJob;
class LayoutDesign;
class ReportLayout;
class ReportPrintSettings;

class ReportEngine {
public:
    ReportEngine();
    ~ReportEngine();
    ReportEngine(const ReportEngine &) = delete;
    ReportEngine &operator=(const ReportEngine &) = delete;

    // Done when ready; Failed without the application's font system, which drawing needs.
    Outcome init();
    // Done when the printer was found and the job started (pages are sent from the first
    // output); Refused for a printer that is not there, Failed before init succeeded.
    Outcome startJob(const QString &jobName, const QString &printerName);
    // The printer settings of the running job; throws ReportError outside a job.
    ReportPrintSettings &printSettings();
    // Opens a layout for the running job; throws ReportError when it is missing or unreadable.
    ReportLayout &openLayout(const QString &path);
    // Closes the job: the pages go to the printer (or the PDF is opened).
    void endJob();
    // Releases the engine; a job still open is ended first so that pages already output print.
    void close();

    void setRecording(bool on) { m_recording = on; }
    // The pages of the latest job, when recording.
    const QList<RecordedPage> &pages() const { return m_pages; }
    int pageCount() const { return m_pageCount; }
    // The PDF file of the latest job on the PDF printer (empty for a real printer).
    QString pdfPath() const { return m_pdfPath; }
    bool jobOpen() const { return m_job != nullptr; }

    // Called by the open layout's outputPage.
    void outputPage(const LayoutDesign &design, const QHash<QString, QString> &values,
                    const QHash<QString, bool> &itemShown,
                    const QHash<QString, bool> &sectionShown);

private:
    void requireJob() const;

    bool m_ready = false;
    bool m_recording = false;
    std::unique_ptr<PrintJob> m_job;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<ReportPrintSettings> m_settings;
    std::unique_ptr<ReportLayout> m_layout;
    QList<RecordedPage> m_pages;
    int m_pageCount = 0;
    QString m_pdfPath;
};
