// The desk's start-up: one copy per INI file, the INI into the globals, the computer name and
// version, then the first screen. Returns the process exit status.
#pragma once

#include <QString>

class QApplication;

int runDesk(QApplication &app, const QString &iniOption, const QString &programPath);

// The look of every window: Japanese glyphs from Noto CJK, Qt's own texts in Japanese.
void applyDeskLook(QApplication &app);
