// Enrichment of one import date's lines from the masters, then the six master checks.
#pragma once

#include <QString>

class Db;
class Dialogs;
class Progress;

// true when an enrichment statement or the progress display failed (after its message);
// false when the enrichment ran, whatever the checks then found.
bool MF_OrderCheck(Db &db, Dialogs &dialogs, Progress &progress, const QString &impDate);

// true when a line of the running conversion (FLG2 = '1') has a quality key missing from
// MST_QUL (one message per key, in key order), or when the check itself failed.
bool MF_QulMstCheck(Db &db, Dialogs &dialogs);

// The finding of one line appended after its earlier ones (ERR_LN = last + 1); see
// MasterChecks.h for the six checks themselves.
void MP_ErrAdd(Db &db, const QString &impDate, int impLn, const QString &err1, const QString &err2,
               const QString &err3);
