// The three print-data work tables of a conversion run and the routines that have them built.
// Each procedure replaces its whole table from the lines of the running conversion
// (TBL_ORDER.FLG2 = '1') joined to the masters, in one set-based statement.
#pragma once

#include "Outcome.h"

#include <QStringList>

class Db;
class Dialogs;

// The 79 output columns shared by WRK_CSV_C and WRK_CSV_H, in the order of every CSV line.
const QStringList &printDataColumns();

// The procedures: each empties its table and fills it again inside one transaction.
// Throw DbError.
void wc_csvh(Db &db); // instruction-artwork data, letterpress lines (DATA_FLG = '0')
void wc_csvc(Db &db); // thermal-transfer print data (DATA_FLG = '1')
void wc_rpt(Db &db);  // report rows, every line of the run

// The INSERT ... SELECT that fills "WRK_CSV_H", "WRK_CSV_C" or "WRK_RPT" from the run's
// lines (what each procedure runs after emptying its table).
QString workTableInsert(const QString &table);

// The time a procedure may take before its step fails.
constexpr int kWorkTableTimeoutMs = 50000;

// The step routines of the run: Done, or Failed after showing the failure's description.
Outcome buildArtworkTable(Db &db, Dialogs &dialogs, int timeoutMs = kWorkTableTimeoutMs);
Outcome buildReportTable(Db &db, Dialogs &dialogs, int timeoutMs = kWorkTableTimeoutMs);
Outcome buildThermalTable(Db &db, Dialogs &dialogs, int timeoutMs = kWorkTableTimeoutMs);
