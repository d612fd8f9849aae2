// The one place that resolves a printer name: a CUPS queue, or the virtual printer
// "PDFファイル" (also accepted as "PDF") that writes the job to a PDF file in the
// installation's print/ folder. Tests replace it through setAppPrinters().
#pragma once

#include <QString>
#include <QStringList>

class QPrinter;

class Printers {
public:
    virtual ~Printers() = default;

    static QString pdfPrinterName() { return QStringLiteral("PDFファイル"); }
    static bool isPdfPrinter(const QString &name);

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

    // The printer the next job goes to (the desk's "default printer"); empty = gLPrinter.
    void setCurrent(const QString &name) { m_current = name; }
    QString current() const { return m_current; }

private:
    QString m_current;
};

Printers &appPrinters();
void setAppPrinters(Printers *printers);

// setDefaultPrinter: the following print job goes to `device` (driver and port are kept for
// the callers' sake and not needed on this platform).
void setDefaultPrinter(const QString &device, const QString &driver = QString(),
                       const QString &port = QString());
