#include "ReportPrintSettings.h"

#include "LayoutDesign.h"
#include "ReportLayout.h"

#include <QPrinter>

void ReportPrintSettings::setCopies(int copies)
{
    m_printer.setCopyCount(copies);
}

int ReportPrintSettings::copies() const
{
    return m_printer.copyCount();
}

int ReportPrintSettings::applyPaper(const ReportLayout &layout)
{
    const LayoutDesign &design = layout.design();
    // The layouts are designed on the whole sheet; the printer's own margins are not added.
    m_printer.setFullPage(true);
    if (!m_printer.setPageSize(QPageSize(design.paperSize())))
        return 1;
    if (!m_printer.setPageOrientation(design.orientation()))
        return 1;
    return m_printer.pageLayout().pageSize().id() == design.paperSize() ? 0 : 1;
}
