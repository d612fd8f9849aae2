// The printer settings of one print job: the copy count and the paper of the layout.
#pragma once

#include "Outcome.h"

class PrintJob;
class ReportLayout;

class ReportPrintSettings {
public:
    explicit ReportPrintSettings(PrintJob &job) : m_job(job) {}

    // The one numeric setting the lists set before opening their layout.
    void setCopies(int copies);
    int copies() const;
    // Takes over the layout's paper size and orientation; Done when the printer accepted
    // them, Failed otherwise.
    Outcome applyPaper(const ReportLayout &layout);

private:
    PrintJob &m_job;
};
