#include "Dialogs.h"

namespace {
SilentDialogs s_silent;
Dialogs *s_dialogs = &s_silent;
} // namespace

Dialogs &appDialogs()
{
    return *s_dialogs;
}

void setAppDialogs(Dialogs *dialogs)
{
    s_dialogs = dialogs ? dialogs : &s_silent;
}
