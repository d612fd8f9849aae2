// The bulk update of the order edit screen (更新): sets up to four columns to one value on
// every line of the current order condition — the set date, the printer model with its
// thermal-transfer flag, and the special-conversion flag. The dialog BulkUpdateDialog and the
// batch command `update` both use it.
#pragma once

#include "OrderCondition.h"
#include "Outcome.h"
#include "Progress.h"

#include <QList>
#include <QString>

class Db;
class Dialogs;

// A value is given when its text is not empty.
struct BulkUpdateValues {
    QString setDate; // a date as typed (2004/5/3); written as yyyy/mm/dd
    QString printer; // a model of MST_PRINTER
    QString dataFlg; // that model's flag, from the list row chosen
    QString special; // "0" or "1"

    bool anyGiven() const { return !setDate.isEmpty() || !printer.isEmpty() || !special.isEmpty(); }
};

struct PrinterModel {
    QString printer;
    QString dataFlg;
};

class OrderBulkUpdate {
public:
    // progress shows that the update waits for another workstation's conversion.
    OrderBulkUpdate(Db &db, Dialogs &dialogs, Progress &progress = appProgress())
        : m_db(db), m_dialogs(dialogs), m_progress(progress)
    {
    }

    // MST_PRINTER in table order, blanks trimmed (the printer list). Throws DbError.
    static QList<PrinterModel> printerModels(Db &db);

    // The three checks, in order: Done, or Refused after the first refusal's message (stop
    // icon).
    Outcome check(const BulkUpdateValues &values);
    // Checks, then writes every given value to the lines of condition in one transaction,
    // once a conversion running on another workstation has finished: Done (also when nothing
    // was given). Refused after a refusal, Failed after a database error (stop icon; nothing
    // changed).
    Outcome apply(const BulkUpdateValues &values, const OrderCondition &condition);
    // Lines the condition matched in the last apply (0 when nothing was given).
    int changedLines() const { return m_changed; }
    // How many lines an apply on condition would change now. Throws DbError.
    int lines(const OrderCondition &condition);
    // The question before an update of n lines, and the message after n were changed.
    static QString questionText(int n);
    static QString doneText(int n);

private:
    Db &m_db;
    Dialogs &m_dialogs;
    Progress &m_progress;
    int m_changed = 0;
};
