// The register of business months (SYS_TUKI): create a month, confirm the open month, reopen
// a confirmed one. At most one month is open at a time; the import numbers its orders under
// that month. The monthly-business screen and `ostera month` share these actions: they ask
// and tell through Dialogs exactly as the screen does.
#pragma once

#include "Outcome.h"

#include <QDate>
#include <QList>
#include <QString>

class Db;
class Dialogs;

struct BusinessMonth {
    QString nen;
    QString tuki;
    QString kakuteiFlg; // "0" open, "1" confirmed
};

class MonthlyRegister {
public:
    MonthlyRegister(Db &db, Dialogs &dialogs, const QDate &today)
        : m_db(db), m_dialogs(dialogs), m_today(today)
    {
    }

    // Every month, newest first.
    QList<BusinessMonth> months();

    // Each action: Done when the register was changed; Refused for bad input or the rule of
    // one open month (after its message or beep); Declined when the operator answered No;
    // Unchanged for a confirm or reopen of a month that has no row (nothing said).

    // Opens a new business month. A one-digit month is written back with its leading "0"
    // (the screen shows it).
    Outcome createMonth(QString &nen, QString &tuki);
    // Confirms the open month and says so.
    Outcome confirmMonth(const QString &nen, const QString &tuki);
    // Reopens a confirmed month while no other month is open.
    Outcome reopenMonth(const QString &nen, const QString &tuki);

    // Years from 2003 to 2099 and months from 1 to 12, typed as digits (full-width digits
    // and outer blanks are accepted and normalised).
    static bool isAcceptableNewMonth(const QString &nen, const QString &tuki);
    // The new month as typed, checked and normalised before anything is read: false after
    // "不正です。". A one-digit month gets its leading "0".
    static bool acceptNewMonthInput(Dialogs &dialogs, QString &nen, QString &tuki);
    // The year and month of a confirm or reopen: false (after a beep) when one is empty.
    static bool hasMonthInput(Dialogs &dialogs, const QString &nen, const QString &tuki);
    // Full-width digits to ASCII, outer blanks removed.
    static QString normalisedDigits(const QString &typed);

    static QString invalidMessage();
    static QString oneOpenMonthMessage();

private:
    bool anotherMonthOpen();
    bool monthExists(const QString &nen, const QString &tuki);

    Db &m_db;
    Dialogs &m_dialogs;
    QDate m_today;
};
