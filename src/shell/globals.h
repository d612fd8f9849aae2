// What stays process-wide: the connection settings and the identity of the operator and the
// installation, read once at start-up (desk and batch alike) and reached by logic units that
// have no session (ConnectionSettings::fromGlobals, Installation, the history's operator).
// Everything a screen works with — the connection, the import date, the order condition,
// printers and folders — lives in the Session instead.
#pragma once

#include <QString>

// Connection settings (section SQLDB of the INI file).
extern QString gProvider;
extern QString gServerName;
extern QString gDbName;
extern QString gDbUser;
extern QString gDbPassword;
extern int gTimeout;
// Optional: the PostgreSQL schema the installation works in (SQLDB/SCHEMA, default public).
extern QString gDbSchema;

// The operator (Zenpan/USER_NM, or the login) and this computer, stamped into the history.
extern QString gUserName;
extern QString gComputerName;

extern QString gVersion;

// The INI file in use and the installation folder (the folder of that file).
extern QString gIniPath;
extern QString gInstallDir;

// Resets every global to its start-up value (tests use it between cases).
void resetGlobals();
