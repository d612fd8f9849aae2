// Opening a finished file (a sheet, a PDF) for the operator. The desk hands it to the
// desktop's default application; batch commands print its path instead; tests record it.
#pragma once

#include <QString>

#include <functional>

namespace Desktop {
void openFile(const QString &path);
// Replaces what openFile does (batch: print the path; tests: remember it). nullptr restores
// the desktop's default application.
void setOpener(std::function<void(const QString &)> opener);
} // namespace Desktop
