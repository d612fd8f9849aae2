// The import-date picker as the main menu sees it (ImportDateDialog, registered in the screen
// table under this role): openModal runs it; afterwards outcome() is Done when a date was
// chosen, and the session's import date and order condition hold it.
#pragma once

#include "Outcome.h"

class ImportDatePicker {
public:
    virtual ~ImportDatePicker() = default;
    virtual void openModal() = 0;
    virtual Outcome outcome() const = 0;
};
