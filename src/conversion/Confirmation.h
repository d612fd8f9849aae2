// Confirmation of one import date (確定): every unconfirmed line of the date is stamped
// confirmed and the date itself is closed in SYS_IMPDATE, both in one transaction.
#pragma once

#include "OrderCondition.h"
#include "Outcome.h"

#include <QString>

class Db;
class Dialogs;
class Progress;

struct ConfirmationCounts {
    int total = 0;       // 合計: lines of the date, confirmed ones included
    int converted = 0;   // 変換済み: FLG3 = '1'
    int unconverted = 0; // 未変換: FLG3 = '0'
};

class Confirmation {
public:
    Confirmation(Db &db, Dialogs &dialogs, Progress &progress)
        : m_db(db), m_dialogs(dialogs), m_progress(progress)
    {
    }

    // The three counts the screen shows. Throws DbError.
    static ConfirmationCounts counts(Db &db, const QString &impDate);
    // The order condition of the confirmation: the day's lines not yet confirmed.
    static OrderCondition condition(const QString &impDate);

    // Asks (and asks again when unconverted lines are shown), confirms and says "完了です。":
    // Done. `shown` are the counts the operator saw. Otherwise nothing is written: Declined
    // after a No, Refused when the day showed no line, Failed after a database error's message.
    Outcome run(const QString &impDate, const ConfirmationCounts &shown);

private:
    Db &m_db;
    Dialogs &m_dialogs;
    Progress &m_progress;
};
