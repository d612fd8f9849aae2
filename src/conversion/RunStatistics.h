// What PostgreSQL knows about the lines of a running conversion. Its statistics of TBL_ORDER
// were taken before the lines were marked, so it would plan the work-table statements for
// the handful of lines FLG2 = '1' used to hold: hashing a day of lines at every join instead
// of the masters once, or looking each master up line by line.
#pragma once

class Db;

// After the mark of `lines` lines: the planner learns how many lines the run holds. A run of
// a typical day is planned well enough without (looking its few thousand lines up one by one
// costs less than sampling a table of many days), and SQLite has nothing to learn.
void refreshRunStatistics(Db &db, int lines);
