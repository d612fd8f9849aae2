#include "PrintJob.h"

#include "Clock.h"
#include "Installation.h"

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>

namespace {

// Qt's printer engine writes PDFs at this resolution; the lists were laid out against it.
constexpr int kPdfResolution = 1200;

class PdfFileJob final : public PrintJob {
public:
    PdfFileJob(const QString &path, const QString &jobName) : m_path(path), m_writer(path)
    {
        m_writer.setTitle(jobName);
        m_writer.setCreator(QStringLiteral("ostera"));
        m_writer.setResolution(kPdfResolution);
    }

    QPagedPaintDevice &device() override { return m_writer; }
    int resolution() const override { return m_writer.resolution(); }
    // A file is one copy whatever is asked: the operator prints it as often as needed.
    void setCopies(int copies) override { m_copies = copies; }
    int copies() const override { return m_copies; }
    bool setPaper(QPageSize::PageSizeId size, QPageLayout::Orientation orientation) override
    {
        return m_writer.setPageLayout(
            QPageLayout(QPageSize(size), orientation, QMarginsF(), QPageLayout::Millimeter));
    }
    QString pdfPath() const override { return m_path; }
    QString outputName() const override { return m_path; }

private:
    QString m_path;
    QPdfWriter m_writer;
    int m_copies = 1;
};

PrintJobs s_pdfOnly;
PrintJobs *s_jobs = &s_pdfOnly;

QString safeFileName(QString name)
{
    static const QString bad = QStringLiteral("/\\:*?\"<>| ");
    for (QChar &c : name)
        if (bad.contains(c))
            c = QLatin1Char('_');
    return name;
}
} // namespace

bool PrintJobs::isPdfPrinter(const QString &name)
{
    return name == pdfPrinterName() || name == QLatin1String("PDF");
}

QString PrintJobs::pdfFilePath(const QString &jobName)
{
    const QString stamp = Clock::now().toString(QStringLiteral("yyyyMMdd_hhmmss"));
    const QDir folder(Installation::printDir());
    QString path =
        folder.filePath(safeFileName(jobName) + QLatin1Char('_') + stamp + QStringLiteral(".pdf"));
    for (int n = 1; QFileInfo::exists(path); ++n)
        path = folder.filePath(
            QStringLiteral("%1_%2_%3.pdf").arg(safeFileName(jobName), stamp).arg(n));
    return path;
}

std::unique_ptr<PrintJob> PrintJobs::open(const QString &printerName, const QString &jobName) const
{
    if (!isPdfPrinter(printerName))
        return nullptr;
    return std::make_unique<PdfFileJob>(pdfFilePath(jobName), jobName);
}

PrintJobs &printJobs()
{
    return *s_jobs;
}

void setPrintJobs(PrintJobs *jobs)
{
    s_jobs = jobs ? jobs : &s_pdfOnly;
}
