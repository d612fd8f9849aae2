// Enrichment of one import date's lines from the masters, then the six master checks.
#pragma once

#include "Outcome.h"

#include <QString>

class Db;
class Dialogs;
class Progress;

// Who runs the check, which decides whether it waits for a running conversion and whether
// what it changes on the lines goes into the audit trail.
enum class CheckCaller {
    Import,     // the import's own first check: completes new lines, nothing to record yet
    Recheck,    // the re-check screen and `check`: wait for a running conversion, recorded
    Conversion, // a conversion's own check, under the run's lock: recorded
};

// Only lines neither converted nor confirmed are completed and checked: the database keeps
// what was printed. Done when the enrichment ran, whatever the checks then found; Failed when
// an enrichment statement, the progress display or the wait for a running conversion failed
// (after its message).
Outcome checkDay(Db &db, Dialogs &dialogs, Progress &progress, const QString &impDate,
                 CheckCaller caller = CheckCaller::Recheck);

// What the error check left on a day, as the error list shows it: the day's lines, its
// findings and the lines they are on.
struct DayFindings {
    int lines = 0;
    int findings = 0;
    int linesWithFindings = 0;
};
// Throws DbError.
DayFindings countFindings(Db &db, const QString &impDate);
// "エラー 12 件（5 行）" or "エラーはありません。", for the line an import or a re-check ends
// with.
QString findingsText(const DayFindings &day);
// "完了しました。" and, on a second line, the findings the re-check left (the re-check screen
// and `check`); the plain message when they cannot be counted.
QString recheckDoneMessage(Db &db, const QString &impDate);

// Refused when a line of the running conversion (FLG2 = '1') has a quality key missing from
// MST_QUL (after one message per key, in key order); Failed when the check itself failed
// (after its message); Done when every key is there.
Outcome checkRunQualityKeys(Db &db, Dialogs &dialogs);

// The finding of one line appended after its earlier ones (ERR_LN = last + 1); see
// MasterChecks.h for the six checks themselves.
void addFinding(Db &db, const QString &impDate, int impLn, const QString &err1, const QString &err2,
                const QString &err3);
