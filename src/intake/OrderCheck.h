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
