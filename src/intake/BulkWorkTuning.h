// Settings for the import's and the check's set-based statements over a whole day of lines.
#pragma once

class Db;

// Call inside the transaction; the settings end with it. PostgreSQL compiles large statements
// to machine code (JIT) first, which costs more than the day's statements themselves take; and
// it joins the day's lines by hashing, never line by line (see the .cpp).
void tuneForDayWork(Db &db);

// After a day's lines were written: PostgreSQL learns how many lines the new day and its lots
// have and how many of them are open and error-free, so that the enrichment, the checks and the
// screens plan for a day of that size (it would otherwise take a day it has never seen for a single
// line). Nothing to do on SQLite.
void refreshDayStatistics(Db &db);
