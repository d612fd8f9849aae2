// The whole import of one day, as the import screen's OK and `ostera import` run it:
// admission, the file read and checked whole, then the file into the work table, control
// numbers, the build and the registration of the day in one transaction, then the enrichment
// and error check in a transaction of their own. Imports of several workstations wait for each
// other, but never for one still reading its file.
#pragma once

#include "ImportRequest.h"
#include "Outcome.h"

class Db;
class Dialogs;
class Progress;

class ImportRun {
public:
    ImportRun(Db &db, Dialogs &dialogs, Progress &progress);

    // Done when the day was imported and registered ("処理は終了しました。" with the lines
    // read and the findings on a second line, even when the error check reported a failure).
    // Otherwise, after "エラー終了しました。" and having changed nothing, so that the operator can
    // correct the path or date and try again at once: Refused when the file or the day was
    // refused, Failed when a step failed.
    Outcome run(const ImportRequest &request);

    // Maximum wait for another workstation's import, in seconds.
    void setLockWait(int seconds) { m_lockWait = seconds; }

private:
    Outcome importDay(const ImportRequest &request);
    Outcome failed(Outcome outcome);
    QString summary(const QString &impDate);

    Db &m_db;
    Dialogs &m_dialogs;
    Progress &m_progress;
    int m_lockWait = 600;
};
