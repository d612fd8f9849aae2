// One print job's pages, whatever receives them: the virtual printer "PDFファイル" (also
// accepted as "PDF"), which writes a PDF file into the installation's print/ folder, or a
// printer queue of the computer. The report engine draws on device() and knows nothing of
// printers; the printing library adds the queues (Printers), so logic needs no widgets.
#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <memory>

class QPagedPaintDevice;

class PrintJob {
public:
    virtual ~PrintJob() = default;

    virtual QPagedPaintDevice &device() = 0;
    virtual int resolution() const = 0;
    virtual void setCopies(int copies) = 0;
    virtual int copies() const = 0;
    // The whole sheet in this size and orientation, without the printer's margins; false when
    // the device does not take them.
    virtual bool setPaper(QPageSize::PageSizeId size, QPageLayout::Orientation orientation) = 0;
    // The PDF file the job writes; empty for a printer queue.
    virtual QString pdfPath() const = 0;
    // What the job's output is called in a message (the file or the queue).
    virtual QString outputName() const = 0;
};

class PrintJobs {
public:
    virtual ~PrintJobs() = default;

    static QString pdfPrinterName() { return QStringLiteral("PDFファイル"); }
    static bool isPdfPrinter(const QString &name);
    // print/<jobName>_<stamp>.pdf, with a number added while that name is taken.
    static QString pdfFilePath(const QString &jobName);

    // A job called jobName on printerName, or nullptr for a printer this computer does not
    // have. Here only the PDF printer is known.
    virtual std::unique_ptr<PrintJob> open(const QString &printerName,
                                           const QString &jobName) const;
};

// Where the report engine's jobs go: the PDF printer alone until the program installs the
// computer's printers (see Printers).
PrintJobs &printJobs();
void setPrintJobs(PrintJobs *jobs);
