// The desk's start-up: one copy per INI file, the desk's Session (the INI read into it), the
// computer name and version, then the first screen. Returns the process exit status.
#pragma once

#include <QString>

class Dialogs;
class QApplication;

enum class FirstStart { Login, Options, Quit };
// After the settings are read: Login when they name a database; otherwise the operator is told
// (no INI or no provider; the INI named by --ini missing) and offered the options screen,
// which is then shown (Options), or declined (Quit).
FirstStart firstStart(Dialogs &dialogs, bool iniNamed);

int runDesk(QApplication &app, const QString &iniOption, const QString &programPath);

// The look of every window: Japanese glyphs from Noto CJK, Qt's own texts in Japanese.
void applyDeskLook(QApplication &app);
