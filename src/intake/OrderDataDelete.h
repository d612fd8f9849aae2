// The administrator's all-delete of the import screen: every order line of every day, the
// day register, the control-number counters (numbering starts again at 001), the findings and
// the print-data work tables. Masters and the business months stay.
#pragma once

#include <QString>

class Db;
class Progress;

// The password the operator must type.
QString allDeletePassword();

// Deletes everything in one transaction, after waiting for an import running on another
// workstation; throws DbError (and then deletes nothing).
void deleteAllOrderData(Db &db, Progress &progress);
