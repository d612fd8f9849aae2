// The options screen's connection test. The desk's own connection belongs to its Session
// (Session::open and Session::close keep the old dbOpen and dbClose contract).
#pragma once

#include <QString>

struct ConnectionSettings;

// Connects with settings as the desk's start does, looks for the desk's tables, and closes
// again (the options screen's connection test). ok only when the connection works and every
// table is there; text says what was found, for the operator.
struct ConnectionCheck {
    bool ok = false;
    QString text;
};
ConnectionCheck checkConnection(const ConnectionSettings &settings);
