// The shared connection gCn. Screens call dbOpen(0) when they start work and dbClose(0) when
// they end. dbOpen keeps a live connection instead of replacing it and reconnects when the
// connection was lost; the count and the borrowed rule are kept as the screens expect them.
#pragma once

#include <QString>

class Dialogs;

// 0 on success, otherwise the error number (after the message titled "dbOpen").
// A non-zero borrowed does nothing and returns 0.
int dbOpen(int borrowed);
int dbOpen(int borrowed, Dialogs &dialogs);
// Closes gCn only when borrowed is 0 and exactly one open has been counted.
void dbClose(int borrowed);
// Releases the shared connection and resets the count (end of program, tests).
void dbShutdown();

struct ConnectionSettings;

// Connects with settings as the desk's start does, looks for the desk's tables, and closes
// again (the options screen's connection test). ok only when the connection works and every
// table is there; text says what was found, for the operator.
struct ConnectionCheck {
    bool ok = false;
    QString text;
};
ConnectionCheck checkConnection(const ConnectionSettings &settings);
