#include "Printers.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

class QueueJob final : public PrintJob {
public:
    explicit QueueJob(std::unique_ptr<QPrinter> printer) : m_printer(std::move(printer)) {}

    QPagedPaintDevice &device() override { return *m_printer; }
    int resolution() const override { return m_printer->resolution(); }
    void setCopies(int copies) override { m_printer->setCopyCount(copies); }
    int copies() const override { return m_printer->copyCount(); }
    bool setPaper(QPageSize::PageSizeId size, QPageLayout::Orientation orientation) override
    {
        m_printer->setFullPage(true);
        return m_printer->setPageSize(QPageSize(size)) &&
               m_printer->setPageOrientation(orientation) &&
               m_printer->pageLayout().pageSize().id() == size;
    }
    QString pdfPath() const override { return QString(); }
    QString outputName() const override { return m_printer->printerName(); }

private:
    std::unique_ptr<QPrinter> m_printer;
};

Printers s_default;
Printers *s_printers = &s_default;
} // namespace

QStringList Printers::installed() const
{
    return QPrinterInfo::availablePrinterNames();
}

QStringList Printers::choices() const
{
    QStringList names = installed();
    names << pdfPrinterName();
    return names;
}

bool Printers::isKnown(const QString &name) const
{
    return isPdfPrinter(name) || (!name.isEmpty() && installed().contains(name));
}

bool Printers::prepare(QPrinter &printer, const QString &name, const QString &jobName,
                       QString *pdfPath) const
{
    printer.setDocName(jobName);
    if (isPdfPrinter(name)) {
        const QString path = pdfFilePath(jobName);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        if (pdfPath)
            *pdfPath = path;
        return true;
    }
    if (name.isEmpty() || !installed().contains(name))
        return false;
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(name);
    if (pdfPath)
        pdfPath->clear();
    return printer.isValid();
}

std::unique_ptr<PrintJob> Printers::open(const QString &printerName, const QString &jobName) const
{
    if (isPdfPrinter(printerName))
        return PrintJobs::open(printerName, jobName);
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!prepare(*printer, printerName, jobName, nullptr))
        return nullptr;
    return std::make_unique<QueueJob>(std::move(printer));
}

Printers &appPrinters()
{
    return *s_printers;
}

void setAppPrinters(Printers *printers)
{
    s_printers = printers ? printers : &s_default;
    setPrintJobs(s_printers);
}

void installAppPrinters()
{
    setAppPrinters(nullptr);
}

void setDefaultPrinter(const QString &device, const QString &, const QString &)
{
    appPrinters().setCurrent(device);
}
