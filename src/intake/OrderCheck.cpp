#include "OrderCheck.h"

#include "AuditTrail.h"
#include "BulkWorkTuning.h"
#include "Db.h"
#include "Dialogs.h"
#include "HistoryWrite.h"
#include "MasterChecks.h"
#include "MasterEnrichment.h"
#include "OrderState.h"
#include "Progress.h"
#include "RunLock.h"
#include "SqlDialect.h"

#include <optional>

#include <QSqlRecord>

namespace {

struct Check {
    Outcome (*run)(Db &, Dialogs &, const QString &);
    const char *failure; // shown when the check itself fails
};

const Check kChecks[] = {
    {checkBrands, "ブランドチェック中にエラーが発生"},
    {checkFactories, "工場マスタチェック中にエラーが発生"},
    {checkQualities, "品質マスタチェック中にエラーが発生"},
    {checkSizes, "サイズマスタチェック中にエラーが発生"},
    {checkSizeRows, "TARVOLINサイズマスタチェック中にエラーが発生"},
    {checkRows, "ROWマスタチェック中にエラーが発生"},
};

// Two workstations may check one day at once (the import's own check and a re-check, or the
// check a conversion runs first). Each clears the findings it can see and numbers its own from
// the rows it can see, so the second must wait for the first to commit. SQLite writes one
// transaction at a time anyway. Installations in other schemas of the server are not held up.
void waitForOtherChecksOfDay(Db &db, const QString &impDate)
{
    db.dialect().lockUntilCommit(db, QStringLiteral("/check"), impDate);
}

// Only the day being checked, and only its open lines: another day's marks stay with that
// day's findings, and a converted or confirmed line keeps the findings it was printed with.
void clearFindings(Db &db, const QString &impDate)
{
    db.exec(QStringLiteral("DELETE FROM TBL_ERR WHERE IMP_DATE = :d AND IMP_LN IN (SELECT "
                           "O.IMP_LN FROM TBL_ORDER O WHERE O.IMP_DATE = :d AND ") +
                OrderState::openLines(QStringLiteral("O")) + QLatin1Char(')'),
            {{QStringLiteral("d"), impDate}});
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

// A conversion checks a day that its import (or an earlier run) already completed and
// checked: when no open line would take another value from the masters, none would get a
// finding, and none holds an error mark or a finding, the completion and the checks would
// change nothing. Asked in one statement, one read of the day with the masters beside it.
bool daySettled(Db &db, const QString &impDate)
{
    const QString open = OrderState::openLines(QStringLiteral("O"));
    const QString dayOpen = QStringLiteral(" WHERE O.IMP_DATE = :d AND ") + open;
    return !db.exists(
        QStringLiteral("SELECT 1 WHERE EXISTS (") + changedLinesSelect() +
            QStringLiteral(") OR EXISTS (") + linesWithFindingsSelect() +
            QStringLiteral(") OR EXISTS (SELECT 1 FROM TBL_ORDER O") + dayOpen +
            QStringLiteral(" AND NOT ") + OrderState::withoutFindings(QStringLiteral("O")) +
            QStringLiteral(") OR EXISTS (SELECT 1 FROM TBL_ERR E JOIN "
                           "TBL_ORDER O ON O.IMP_DATE = E.IMP_DATE AND O.IMP_LN = E.IMP_LN") +
            dayOpen + QLatin1Char(')'),
        {{QStringLiteral("d"), impDate}});
}

void runChecks(Db &db, Dialogs &dialogs, Progress &progress, const QString &impDate,
               HistoryWrite *record)
{
    progress.start(QStringLiteral("エラーチェック..."), 5);
    if (checkTogether(db, impDate)) {
        progress.step(5);
    } else {
        int done = 0;
        for (const Check &check : kChecks) {
            progress.step(qMin(done++, 5));
            if (check.run(db, dialogs, impDate) != Outcome::Done)
                dialogs.message(QString::fromUtf8(check.failure), Icon::Error);
        }
    }
    markLinesWithFindings(db, impDate, record);
}

} // namespace

Outcome checkDay(Db &db, Dialogs &dialogs, Progress &progress, const QString &impDate,
                 CheckCaller caller)
{
    ProgressScope scope(progress);
    try {
        // A running conversion's lines and masters stand still until it has stamped them;
        // the conversion's own check runs under the run's lock already.
        RunLock conversion(db, RunLock::Kind::Conversion);
        if (caller != CheckCaller::Conversion)
            conversion.acquire(progress);
        // One transaction: a day is never left half enriched; a failing check rolls back its
        // own findings only.
        Transaction work(db);
        // Inside a conversion the run's own history says once what the trail could not take.
        std::optional<HistoryWrite> record;
        if (caller != CheckCaller::Import)
            record.emplace(db, caller == CheckCaller::Conversion ? nullptr : &dialogs);
        waitForOtherChecksOfDay(db, impDate);
        tuneForDayWork(db);
        if (caller == CheckCaller::Conversion && daySettled(db, impDate)) {
            work.commit();
            return Outcome::Done;
        }
        enrichDay(db, progress, impDate, record ? &*record : nullptr);
        clearFindings(db, impDate);
        runChecks(db, dialogs, progress, impDate, record ? &*record : nullptr);
        work.commit();
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

DayFindings countFindings(Db &db, const QString &impDate)
{
    const QVariantMap day{{QStringLiteral("d"), impDate}};
    DayFindings counts;
    counts.lines =
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER WHERE IMP_DATE = :d"), day)
            .toInt();
    const QList<QSqlRecord> findings = db.rows(
        QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT IMP_LN) FROM TBL_ERR WHERE IMP_DATE = :d"),
        day);
    if (!findings.isEmpty()) {
        counts.findings = findings.first().value(0).toInt();
        counts.linesWithFindings = findings.first().value(1).toInt();
    }
    return counts;
}

QString findingsText(const DayFindings &day)
{
    if (day.findings == 0)
        return QStringLiteral("エラーはありません。");
    return QStringLiteral("エラー ") + QString::number(day.findings) + QStringLiteral(" 件（") +
           QString::number(day.linesWithFindings) + QStringLiteral(" 行）");
}

QString recheckDoneMessage(Db &db, const QString &impDate)
{
    const QString done = QStringLiteral("完了しました。");
    try {
        const DayFindings day = countFindings(db, impDate);
        return done + QLatin1Char('\n') +
               (day.findings == 0 ? findingsText(day)
                                  : QStringLiteral("残りの") + findingsText(day));
    } catch (const DbError &) {
        return done;
    }
}

Outcome checkRunQualityKeys(Db &db, Dialogs &dialogs)
{
    QList<QSqlRecord> missing;
    try {
        missing = db.rows(QStringLiteral("SELECT DISTINCT O.QUL_KEY FROM TBL_ORDER O "
                                         "LEFT JOIN MST_QUL M ON O.QUL_KEY = M.QUL_KEY WHERE ") +
                          OrderState::inRunningConversion(QStringLiteral("O")) +
                          QStringLiteral(" AND M.QUL_KEY IS NULL ORDER BY O.QUL_KEY"));
    } catch (const DbError &e) {
        dialogs.message(e.describe(), Icon::Error);
        return Outcome::Failed;
    }
    for (const QSqlRecord &row : missing)
        dialogs.message(QStringLiteral("品質マスタ未登録です。\r\n\r\n") + row.value(0).toString(),
                        Icon::Error);
    return missing.isEmpty() ? Outcome::Done : Outcome::Refused;
}
