// The printer settings of one print job: the copy count and the paper of the layout.
#pragma once

class QPrinter;
class ReportLayout;

class ReportPrintSettings {
public:
    explicit ReportPrintSettings(QPrinter &printer) : m_printer(printer) {}

    // The one numeric setting the lists set before opening their layout.
    void setCopies(int copies);
    int copies() const;
    // Takes over the layout's paper size and orientation; 0 = the printer accepted them.
    int applyPaper(const ReportLayout &layout);

private:
    QPrinter &m_printer;
};
