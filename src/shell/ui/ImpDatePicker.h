// The import-date picker as the main menu sees it (frmImpDate, registered by the period
// screens): MP_Open runs it; afterwards m_cancel() is 0 when a date was chosen, and gImpDate
// and gWhere hold it.
#pragma once

class ImpDatePicker {
public:
    virtual ~ImpDatePicker() = default;
    virtual void MP_Open() = 0;
    virtual int m_cancel() const = 0;
};
