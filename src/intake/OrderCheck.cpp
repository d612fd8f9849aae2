#include "OrderCheck.h"

#include "BulkWorkTuning.h"
#include "Db.h"
#include "Dialogs.h"
#include "MasterChecks.h"
#include "MasterEnrichment.h"
#include "Progress.h"

#include <QSqlRecord>

namespace {

struct Check {
    bool (*run)(Db &, Dialogs &, const QString &);
    const char *failure; // shown when the check itself fails
};

const Check kChecks[] = {
    {MF_BrandCheck, "ブランドチェック中にエラーが発生"},
    {MF_FactoryCheck, "工場マスタチェック中にエラーが発生"},
    {MF_QualityCheck, "品質マスタチェック中にエラーが発生"},
    {MF_SizeCheck, "サイズマスタチェック中にエラーが発生"},
    {MF_SizeRowCheck, "TARVOLINサイズマスタチェック中にエラーが発生"},
    {MF_RowCheck, "ROWマスタチェック中にエラーが発生"},
};

// Two workstations may check one day at once (the import's own check and a re-check, or the
// check a conversion runs first). Each clears the findings it can see and numbers its own from
// the rows it can see, so the second must wait for the first to commit. SQLite writes one
// transaction at a time anyway. Installations in other schemas of the server are not held up.
void waitForOtherChecksOfDay(Db &db, const QString &impDate)
{
    if (db.isPostgreSQL())
        db.scalar(
            QStringLiteral("SELECT pg_advisory_xact_lock("
                           "hashtext(COALESCE(current_schema(), '') || '/check'), hashtext(:d))"),
            {{QStringLiteral("d"), impDate}});
}

void clearFindings(Db &db, const QString &impDate)
{
    const QVariantMap day{{QStringLiteral("d"), impDate}};
    // Only the day being checked: another day's marks stay with that day's findings.
    db.exec(QStringLiteral("UPDATE TBL_ORDER SET FLG1 = '0' WHERE IMP_DATE = :d AND FLG1 <> '0'"),
            day);
    db.exec(QStringLiteral("DELETE FROM TBL_ERR WHERE IMP_DATE = :d"), day);
}

bool checkTogether(Db &db, const QString &impDate)
{
    try {
        Transaction together(db);
        writeAllFindings(db, impDate);
        together.commit();
    } catch (const DbError &) {
        return false;
    }
    return true;
}

void runChecks(Db &db, Dialogs &dialogs, Progress &progress, const QString &impDate)
{
    progress.start(QStringLiteral("Error Check..."), 5);
    if (checkTogether(db, impDate)) {
        progress.step(5);
    } else {
        int done = 0;
        for (const Check &check : kChecks) {
            progress.step(qMin(done++, 5));
            if (check.run(db, dialogs, impDate))
                dialogs.message(QString::fromUtf8(check.failure), Icon::Error);
        }
    }
    markLinesWithFindings(db, impDate);
}

} // namespace

bool MF_OrderCheck(Db &db, Dialogs &dialogs, Progress &progress, const QString &impDate)
{
    ProgressScope scope(progress);
    try {
        // One transaction: a day is never left half enriched; a failing check rolls back its
        // own findings only.
        Transaction work(db);
        waitForOtherChecksOfDay(db, impDate);
        tuneForDayWork(db);
        enrichDay(db, progress, impDate);
        clearFindings(db, impDate);
        runChecks(db, dialogs, progress, impDate);
        work.commit();
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
        return true;
    }
    return false;
}

bool MF_QulMstCheck(Db &db, Dialogs &dialogs)
{
    QList<QSqlRecord> missing;
    try {
        missing =
            db.rows(QStringLiteral("SELECT DISTINCT O.QUL_KEY FROM TBL_ORDER O "
                                   "LEFT JOIN MST_QUL M ON O.QUL_KEY = M.QUL_KEY "
                                   "WHERE O.FLG2 = '1' AND M.QUL_KEY IS NULL ORDER BY O.QUL_KEY"));
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
        return true;
    }
    for (const QSqlRecord &row : missing)
        dialogs.message(QStringLiteral("品質マスタ未登録です。\n\n") + row.value(0).toString(),
                        Icon::Error);
    return !missing.isEmpty();
}
