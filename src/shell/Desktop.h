// Opening a finished file or folder (a sheet, a PDF) for the operator. The desk hands it to
// the desktop's default application; batch commands print its path instead; tests record it.
#pragma once

#include "Dialogs.h"

#include <QString>

#include <functional>

namespace Desktop {
// false when nothing took the file: no default application, no desktop to ask.
bool openFile(const QString &path);
// openFile, and when nothing took the file the operator is told where it is, so the work
// of a print or an export is never lost from sight.
void openOrTell(const QString &path, Dialogs &dialogs = appDialogs());
// Replaces what openFile does (batch: print the path; tests: remember it); a file handed to
// it counts as opened. nullptr restores the desktop's default application.
void setOpener(std::function<void(const QString &)> opener);
} // namespace Desktop
