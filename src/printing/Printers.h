// The computer's printers: the CUPS queues beside the virtual printer "PDFファイル". The
// options screen offers them, the grid prints through them and, once installed at start-up,
// the report engine's jobs go to them. Tests replace them through setAppPrinters().
#pragma once

#include "PrintJob.h"

#include <QString>
#include <QStringList>

class QPrinter;

class Printers : public PrintJobs {
public:
    // The printers installed on this computer, in the order the system reports them.
    virtual QStringList installed() const;
    // What the options screen offers: the installed printers, then "PDFファイル".
    QStringList choices() const;
    // An installed printer or the PDF printer.
    bool isKnown(const QString &name) const;

    // Points `printer` at `name` for a job called jobName. For the PDF printer the job goes to
    // print/<jobName>_<stamp>.pdf, whose path is put into *pdfPath. false for an unknown name.
    virtual bool prepare(QPrinter &printer, const QString &name, const QString &jobName,
                         QString *pdfPath) const;
    std::unique_ptr<PrintJob> open(const QString &printerName,
                                   const QString &jobName) const override;

    // The printer the next job goes to (the desk's "default printer"); empty: the list printer
    // of the session.
    void setCurrent(const QString &name) { m_current = name; }
    QString current() const { return m_current; }

private:
    QString m_current;
};

Printers &appPrinters();
// Also makes them where the report engine's jobs go; nullptr restores the computer's own.
void setAppPrinters(Printers *printers);
// At start-up: the report engine prints to the computer's printers, not to PDF files alone.
void installAppPrinters();

// setDefaultPrinter: the following print job goes to `device` (driver and port are kept for
// the callers' sake and not needed on this platform).
void setDefaultPrinter(const QString &device, const QString &driver = QString(),
                       const QString &port = QString());
