#include "ImportRun.h"

#include "BulkWorkTuning.h"
#include "Db.h"
#include "Dialogs.h"
#include "FileImport.h"
#include "ImportCheck.h"
#include "OrderBuild.h"
#include "OrderCheck.h"
#include "Progress.h"
#include "RunLock.h"

ImportRun::ImportRun(Db &db, Dialogs &dialogs, Progress &progress)
    : m_db(db), m_dialogs(dialogs), m_progress(progress)
{
}

Outcome ImportRun::failed(Outcome outcome)
{
    m_dialogs.message(QStringLiteral("エラー終了しました。"));
    return outcome;
}

// The lines the day received and what the check found on them, as a second line of the
// closing message; nothing when they cannot be counted (the day is imported all the same).
QString ImportRun::summary(const QString &impDate)
{
    try {
        const DayFindings day = countFindings(m_db, impDate);
        return QStringLiteral("\n取込 ") + QString::number(day.lines) + QStringLiteral(" 行、") +
               findingsText(day);
    } catch (const DbError &) {
        return QString();
    }
}

Outcome ImportRun::run(const ImportRequest &request)
{
    if (const Outcome admitted = checkImport(m_db, m_dialogs, request.path, request.impDate);
        admitted != Outcome::Done)
        return failed(admitted);
    if (const Outcome imported = importDay(request); imported != Outcome::Done)
        return failed(imported);
    m_dialogs.message(QStringLiteral("エラーチェック処理を開始します。"));
    if (checkDay(m_db, m_dialogs, m_progress, request.impDate, CheckCaller::Import) !=
        Outcome::Done)
        m_dialogs.message(QStringLiteral("エラーチェック中にエラーが発生しました。"), Icon::Error);
    m_dialogs.message(QStringLiteral("処理は終了しました。") + summary(request.impDate),
                      Icon::Information);
    return Outcome::Done;
}

// The file is read and checked before the lock: a slow or endless file never keeps other
// workstations waiting. Under the import lock the work table belongs to this run alone;
// everything it writes is committed together or not at all.
Outcome ImportRun::importDay(const ImportRequest &request)
{
    ProgressScope scope(m_progress);
    std::optional<OrderFileContent> content =
        OrderFileContent::read(m_dialogs, m_progress, request);
    if (!content)
        return Outcome::Refused;
    try {
        RunLock lock(m_db, RunLock::Kind::Import);
        lock.acquire(m_progress, m_lockWait);
        Transaction work(m_db);
        tuneForDayWork(m_db);
        // Another workstation may have imported the day while this one waited.
        if (isDayImported(m_db, request.impDate)) {
            m_dialogs.message(alreadyImportedMessage(request.impDate), Icon::Error);
            return Outcome::Refused;
        }
        if (const Outcome filled = importFile(m_db, m_dialogs, m_progress, request, *content);
            filled != Outcome::Done)
            return filled;
        if (const Outcome built = buildOrders(m_db, m_dialogs, request.impDate);
            built != Outcome::Done)
            return built;
        refreshDayStatistics(m_db);
        m_db.exec(QStringLiteral("INSERT INTO SYS_IMPDATE(IMP_DATE, KAKUTEI_FLG) VALUES(:d, '0')"),
                  {{QStringLiteral("d"), request.impDate}});
        work.commit();
    } catch (const DbError &e) {
        m_dialogs.message(e.describe(), Icon::Error);
        return Outcome::Failed;
    }
    return Outcome::Done;
}
