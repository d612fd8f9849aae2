#include "Printers.h"

#include "Clock.h"
#include "Installation.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
Printers s_default;
Printers *s_printers = &s_default;

QString safeFileName(QString name)
{
    static const QString bad = QStringLiteral("/\\:*?\"<>| ");
    for (QChar &c : name)
        if (bad.contains(c))
            c = QLatin1Char('_');
    return name;
}
} // namespace

bool Printers::isPdfPrinter(const QString &name)
{
    return name == pdfPrinterName() || name == QLatin1String("PDF");
}

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
        const QString stamp = Clock::now().toString(QStringLiteral("yyyyMMdd_hhmmss"));
        QString path = QDir(Installation::printDir())
                           .filePath(safeFileName(jobName) + QLatin1Char('_') + stamp +
                                     QStringLiteral(".pdf"));
        for (int n = 1; QFileInfo::exists(path); ++n)
            path = QDir(Installation::printDir())
                       .filePath(
                           QStringLiteral("%1_%2_%3.pdf").arg(safeFileName(jobName), stamp).arg(n));
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

Printers &appPrinters()
{
    return *s_printers;
}

void setAppPrinters(Printers *printers)
{
    s_printers = printers ? printers : &s_default;
}

void setDefaultPrinter(const QString &device, const QString &, const QString &)
{
    appPrinters().setCurrent(device);
}
