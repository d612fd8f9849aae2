// The six master checks of one import date. Each finding is a TBL_ERR row (ERR1 the control
// number, ERR2 the finding, ERR3 the key values) numbered ERR_LN 1, 2, ... per line in check
// order. Each check returns Done when it ran through, with or without findings, and Failed
// after the error's message; a failed check leaves none of its own findings behind.
// The lines are marked afterwards, once, by markLinesWithFindings.
#pragma once

#include "Outcome.h"

#include <QString>

class Db;
class Dialogs;

Outcome checkBrands(Db &db, Dialogs &dialogs, const QString &impDate);
Outcome checkFactories(Db &db, Dialogs &dialogs, const QString &impDate);
Outcome checkQualities(Db &db, Dialogs &dialogs, const QString &impDate);
Outcome checkSizes(Db &db, Dialogs &dialogs, const QString &impDate);
Outcome checkSizeRows(Db &db, Dialogs &dialogs, const QString &impDate);
Outcome checkRows(Db &db, Dialogs &dialogs, const QString &impDate);

// The six checks in one read of the day's lines: the same findings, numbered the same way,
// as running them one after the other on a day without findings. Throws DbError, having
// written nothing, when the database refuses it; the checks then run one by one so that the
// failing one names itself.
void writeAllFindings(Db &db, const QString &impDate);
// The day's (:d) open lines any of the six checks would find something on, as a SELECT of
// their IMP_LN: the same joins and conditions as writeAllFindings, for a test of existence.
QString linesWithFindingsSelect();

// Appends one finding to a line, after its last one. Throws DbError.
void addFinding(Db &db, const QString &impDate, int impLn, const QString &err1, const QString &err2,
                const QString &err3);

class HistoryWrite;

// Settles the error mark of the day's open lines: FLG1 '1' on the lines with findings, '0'
// on the others; with `record`, each mark that changes goes into the audit trail first.
// Throws DbError.
void markLinesWithFindings(Db &db, const QString &impDate, HistoryWrite *record = nullptr);

// The error list's statement: the findings of the day (:d), each line's in check order
// (ERR_LN), the same on every engine.
QString findingsListStatement();
