// What PostgreSQL knows about the lines of a running conversion. Its statistics of TBL_ORDER
// were taken before the lines were marked, so it would plan the work-table statements for
// the handful of lines FLG2 = '1' used to hold: hashing a day of lines at every join instead
// of the masters once, or looking each master up line by line.
#pragma once

class Db;

// After the mark: the planner learns how many lines the run holds. Nothing to do on SQLite.
void refreshRunStatistics(Db &db);
