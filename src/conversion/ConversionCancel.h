// Cancels the latest conversion run of one import date (前回変換Cancel): the lines with the
// day's greatest batch stamp become unconverted again. Confirmed lines are out of reach.
// Work tables and files of the cancelled run stay as they are.
#pragma once

#include "Outcome.h"

#include <QString>

class Db;
class Dialogs;
class Progress;

class ConversionCancel {
public:
    ConversionCancel(Db &db, Dialogs &dialogs, Progress &progress)
        : m_db(db), m_dialogs(dialogs), m_progress(progress)
    {
    }

    // Asks, cancels and says "完了しました。": Done when a run was cancelled. Declined when the
    // question was answered No; Refused for a day without a converted line and Failed for a
    // database error (after its message).
    Outcome run(const QString &impDate);

    // The batch stamp of the day's latest run that can still be cancelled; empty when none.
    static QString latestStamp(Db &db, const QString &impDate);

private:
    Db &m_db;
    Dialogs &m_dialogs;
    Progress &m_progress;
};
