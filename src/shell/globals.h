// The desk's process-wide values. Screens read and write them; logic units take what they
// need as parameters so that they can be tested alone.
#pragma once

#include <QString>

class Db;

// Connection settings (section SQLDB of the INI file).
extern QString gProvider;
extern QString gServerName;
extern QString gDbName;
extern QString gDbUser;
extern QString gDbPassword;
extern int gTimeout;
// Optional: the PostgreSQL schema the installation works in (SQLDB/SCHEMA, default public).
extern QString gDbSchema;

// Printers and operator (section Zenpan).
extern QString gLPrinter;
extern QString gDPrinter;
extern QString gUserName;

// Output folders (section tarvolin), stored as typed.
extern QString gCarDir;
extern QString gKakDir;
extern QString gHanDir;
extern QString gStkDir;
extern QString gShtDir;

extern QString gVersion;
extern QString gComputerName;

// The INI file in use and the installation folder (the folder of that file).
extern QString gIniPath;
extern QString gInstallDir;

// The shared connection and the count of opens that reached the database.
extern Db *gCn;
extern int gOpenCount;

// Statement buffer, import date and current order condition.
extern QString gSQL;
extern QString gImpDate;
extern QString gWhere;

// Resets every global but the connection to its start-up value (tests use it between cases);
// dbShutdown() releases the connection.
void resetGlobals();
