#include "ReportPrintSettings.h"

#include "LayoutDesign.h"
#include "PrintJob.h"
#include "ReportLayout.h"

void ReportPrintSettings::setCopies(int copies)
{
    m_job.setCopies(copies);
}

int ReportPrintSettings::copies() const
{
    return m_job.copies();
}

Outcome ReportPrintSettings::applyPaper(const ReportLayout &layout)
{
    // The layouts are designed on the whole sheet; the printer's own margins are not added.
    const LayoutDesign &design = layout.design();
    return m_job.setPaper(design.paperSize(), design.orientation()) ? Outcome::Done
                                                                    : Outcome::Failed;
}
