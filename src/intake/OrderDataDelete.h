// The administrator's all-delete of the import screen: every order line of every day, the
// day register, the control-number counters (numbering starts again at 001), the findings and
// the print-data work tables. Masters and the business months stay.
#pragma once

#include <QString>

class Db;
class Dialogs;
class Progress;

// The password the operator must type.
QString allDeletePassword();

// Deletes everything in one transaction, after waiting for an import running on another
// workstation; throws DbError (and then deletes nothing). Each deleted line leaves an entry
// in the audit trail (a trail that cannot be written is reported through dialogs).
void deleteAllOrderData(Db &db, Dialogs &dialogs, Progress &progress);
