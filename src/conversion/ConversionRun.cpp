#include "ConversionRun.h"

#include "Clock.h"
#include "ConversionHistory.h"
#include "CsvWriters.h"
#include "Db.h"
#include "Dialogs.h"
#include "Installation.h"
#include "JitOffScope.h"
#include "OrderCheck.h"
#include "OrderState.h"
#include "OutputFileCapture.h"
#include "Progress.h"
#include "RunHistory.h"
#include "RunLock.h"
#include "RunStatistics.h"
#include "Utilities.h"
#include "WorkTables.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kStampFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");
constexpr int kSteps = 9;

// The run's lines. Under the conversion lock every marked line belongs to this run, so the
// mark itself finds them again even when another workstation edited a line meanwhile so that
// it no longer matches the operator's condition.
const QString kMarkedLines = QStringLiteral("WHERE ") + OrderState::inRunningConversion();

QString refusalIfSpecialInvalid(const QString &special)
{
    if (special.contains(QLatin1Char('%')))
        return QStringLiteral("特定変換でライク検索は出来ません。");
    if (special != QLatin1String("1") && special != QLatin1String("0"))
        return QStringLiteral("特定変換では'0'か'1'を指定してください。");
    return {};
}

QString refusalIfSetDatesInvalid(const QString &from, const QString &to)
{
    if (from.contains(QLatin1Char('%')) || to.contains(QLatin1Char('%')))
        return QStringLiteral("セット日でライク検索は出来ません。");
    if (from.isEmpty() || to.isEmpty())
        return QStringLiteral("セット日で指定する場合には範囲で指定してください。");
    if (!isDateText(from) || !isDateText(to))
        return QStringLiteral("セット日に入力された値が日付型でないです。");
    return {};
}

} // namespace

QString ConversionResult::report() const
{
    return QStringLiteral("※※※変換結果報告※※※") + kCrLf + kCrLf +
           QStringLiteral("発注レコード件数：") + QString::number(orderCount) + kCrLf +
           QStringLiteral("ネーム版下件数：") + QString::number(artworkRows) + kCrLf +
           QStringLiteral("印字データ件数：") + QString::number(printRows) + kCrLf +
           QStringLiteral("レポート件数：") + QString::number(reportRows);
}

ConversionChecks ConversionChecks::standard()
{
    return {[](Db &db, Dialogs &dialogs, Progress &progress, const QString &impDate) {
                return checkDay(db, dialogs, progress, impDate, CheckCaller::Conversion);
            },
            checkRunQualityKeys};
}

ConversionRun::ConversionRun(Db &db, Dialogs &dialogs, Progress &progress, OutputFolders folders,
                             ConversionChecks checks)
    : m_db(db), m_dialogs(dialogs), m_progress(progress), m_folders(std::move(folders)),
      m_checks(std::move(checks)), m_workTableTimeoutMs(kWorkTableTimeoutMs)
{
}

std::optional<OrderCondition> ConversionRun::buildCondition(const ConversionInput &input,
                                                            Dialogs &dialogs)
{
    return conditionOfLines(input, dialogs,
                            OrderState::withoutFindings(QStringLiteral("TBL_ORDER")));
}

// The lines the operator's conditions select that the run leaves out for their findings.
OrderCondition ConversionRun::findingsCondition(const ConversionInput &input, Dialogs &dialogs)
{
    return conditionOfLines(input, dialogs,
                            QStringLiteral("NOT ") +
                                OrderState::withoutFindings(QStringLiteral("TBL_ORDER")))
        .value_or(OrderCondition());
}

std::optional<OrderCondition> ConversionRun::conditionOfLines(const ConversionInput &input,
                                                              Dialogs &dialogs,
                                                              const QString &checked)
{
    OrderCondition condition =
        OrderCondition::where(QStringLiteral("TBL_ORDER.IMP_DATE = "), input.impDate);
    condition.add(OrderState::unconverted(QStringLiteral("TBL_ORDER")))
        .add(OrderState::unconfirmed(QStringLiteral("TBL_ORDER")))
        .add(checked);
    if (!input.special.isEmpty()) {
        const QString refusal = refusalIfSpecialInvalid(input.special);
        if (!refusal.isEmpty()) {
            dialogs.message(refusal, Icon::Error);
            return std::nullopt;
        }
        condition.add(QStringLiteral("TBL_ORDER.FLG5 = "), input.special);
    }
    if (input.machine == Machine::Thermal)
        condition.add(QStringLiteral("TBL_ORDER.DATA_FLG = '1'"));
    else if (input.machine == Machine::Letterpress)
        condition.add(QStringLiteral("TBL_ORDER.DATA_FLG = '0'"));
    if (!input.setDateFrom.isEmpty() || !input.setDateTo.isEmpty()) {
        const QString refusal = refusalIfSetDatesInvalid(input.setDateFrom, input.setDateTo);
        if (!refusal.isEmpty()) {
            dialogs.message(refusal, Icon::Error);
            return std::nullopt;
        }
        // Set dates are stored as yyyy/mm/dd and compared as text: "2026/12/9" must become
        // "2026/12/09" to select what the operator means (and a reversed range nothing).
        const QString from = condition.bind(normalizeDateText(input.setDateFrom));
        const QString to = condition.bind(normalizeDateText(input.setDateTo));
        condition.add(QStringLiteral("TBL_ORDER.SET_DATE Between ") + from +
                      QStringLiteral(" And ") + to);
    }
    return condition;
}

QStringList ConversionRun::setDates(Db &db, const QString &impDate)
{
    QStringList dates;
    db.forEach(QStringLiteral("SELECT SET_DATE FROM TBL_ORDER WHERE IMP_DATE = :d "
                              "GROUP BY SET_DATE ORDER BY SET_DATE"),
               {{QStringLiteral("d"), impDate}},
               [&](const QSqlQuery &q) { dates << q.value(0).toString().trimmed(); });
    return dates;
}

QString ConversionRun::nextStamp(Db &db, const QString &impDate)
{
    QDateTime stamp = Clock::now();
    const QString latest =
        db.scalar(QStringLiteral("SELECT MAX(B1) FROM TBL_ORDER WHERE IMP_DATE = :d"),
                  {{QStringLiteral("d"), impDate}})
            .toString();
    const QDateTime latestAt = QDateTime::fromString(latest, kStampFormat);
    if (latestAt.isValid() && latestAt.addSecs(1) > stamp)
        stamp = latestAt.addSecs(1);
    return Clock::stamp(stamp);
}

ConversionResult ConversionRun::run(const ConversionInput &input)
{
    ConversionResult result;
    // Files never go to whatever folder the command happened to start in.
    if (const QString unset = m_folders.unsetRefusal(); !unset.isEmpty()) {
        m_dialogs.message(unset, Icon::Error);
        return result;
    }
    result.outcome = Outcome::Declined;
    if (!m_dialogs.ask(QStringLiteral("変換しますか？")))
        return result;

    // From its own error check to its stamp the run holds the conversion lock: checks,
    // master saves and loads of other workstations wait, so what the files print is what
    // the lines and masters say when the run commits. The count question is asked under the
    // lock too; an operator who leaves it open keeps the others waiting with the desk's
    // waiting message, never converting lines the check has not seen.
    RunLock lock(m_db, RunLock::Kind::Conversion);
    ProgressScope progressShown(m_progress);
    JitOffScope noJit(m_db);
    result.outcome = Outcome::Failed;
    try {
        lock.acquire(m_progress);
        // Marks of a run that died (its workstation or connection lost) would otherwise be
        // converted with this run: no other run can hold marks while we hold the lock.
        m_db.exec(QStringLiteral("UPDATE TBL_ORDER SET FLG2 = '0' ") + kMarkedLines);
    } catch (const DbError &e) {
        m_dialogs.message(e.describe(), Icon::Error);
        return result;
    }
    // A check that did not complete leaves FLG1 saying nothing about the masters as they
    // are: the run ends before anything is marked.
    if (m_checks.orderCheck &&
        m_checks.orderCheck(m_db, m_dialogs, m_progress, input.impDate) != Outcome::Done) {
        m_dialogs.message(QStringLiteral("エラーチェック中にエラーが発生しました。"), Icon::Error);
        return result;
    }

    result.outcome = Outcome::Refused;
    const std::optional<OrderCondition> condition = buildCondition(input, m_dialogs);
    if (!condition)
        return result;
    result.condition = *condition;

    try {
        const int selected =
            m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER ") + condition->text(),
                        condition->params())
                .toInt();
        if (selected < 1) {
            m_dialogs.message(QStringLiteral("レコードがありません。"), Icon::Error);
            return result;
        }
        // Lines with findings are not converted: the operator learns how many stay behind
        // before saying yes, counted under the same conditions.
        const OrderCondition left = findingsCondition(input, m_dialogs);
        const int withFindings =
            m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER ") + left.text(),
                        left.params())
                .toInt();
        if (!m_dialogs.ask(countQuestion(selected, withFindings))) {
            result.outcome = Outcome::Declined;
            return result;
        }
        if (const QString refusal = selectionRefusal(*condition); !refusal.isEmpty()) {
            m_dialogs.message(refusal, Icon::Error);
            return result;
        }
    } catch (const DbError &e) {
        m_dialogs.message(e.describe(), Icon::Error);
        result.outcome = Outcome::Failed;
        return result;
    }

    result.outcome = convertMarked(input, result) ? Outcome::Done : Outcome::Failed;
    return result;
}

QString ConversionRun::countQuestion(int selected, int withFindings)
{
    QString question = QString::number(selected) + QStringLiteral("件変換します。") + kCrLf;
    if (withFindings > 0)
        question += QStringLiteral("エラーのある") + QString::number(withFindings) +
                    QStringLiteral("件は変換されません。") + kCrLf;
    return question + QStringLiteral("宜しいでしょうか？");
}

// Why the selected lines may not be converted: a line without a printer, or one whose data
// kind (thermal transfer or letterpress) is not known, so that no print file would take it.
QString ConversionRun::selectionRefusal(const OrderCondition &condition)
{
    if (m_db.exists(QStringLiteral("SELECT 1 FROM TBL_ORDER ") + condition.text() +
                        QStringLiteral("And PRINTER = '' "),
                    condition.params()))
        return QStringLiteral("印刷機種が設定されていないレコードが含まれています。");
    const QList<QSqlRecord> unknown =
        m_db.rows(QStringLiteral("SELECT KNR_NO, PRINTER FROM TBL_ORDER ") + condition.text() +
                      QStringLiteral("And NOT (") + OrderState::knownDataKind() +
                      QStringLiteral(") ORDER BY IMP_DATE, IMP_LN LIMIT 1"),
                  condition.params());
    if (unknown.isEmpty())
        return {};
    return unknownDataKindMessage(unknown.first().value(0).toString(),
                                  unknown.first().value(1).toString());
}

QString ConversionRun::unknownDataKindMessage(const QString &knrNo, const QString &printer)
{
    return QStringLiteral("管理No ") + knrNo + QStringLiteral(" の印字機種「") + printer +
           QStringLiteral("」は印字機種マスタに登録されていないため変換できません。");
}

bool ConversionRun::convertMarked(const ConversionInput &input, ConversionResult &result)
{
    m_progress.start(QStringLiteral("変換..."), kSteps);
    m_progress.step(0);
    const bool thermal = input.machine != Machine::Letterpress;
    OutputFileCapture written; // the run's files, for its history; removed unless kept
    try {
        result.orderCount =
            m_db.exec(QStringLiteral("UPDATE TBL_ORDER SET FLG2 = '1' ") + result.condition.text(),
                      result.condition.params());
        if (result.orderCount < 1) {
            // Another workstation converted the lines while the question was open; nothing
            // is marked, and the latest run's work tables stay for its lists.
            m_dialogs.message(QStringLiteral("レコードがありません。"), Icon::Error);
            return false;
        }
        refreshRunStatistics(m_db, result.orderCount);
        if (thermal && m_checks.qualityCheck &&
            m_checks.qualityCheck(m_db, m_dialogs) != Outcome::Done)
            return failStep(QStringLiteral("マスタに登録してから再度実行してください。"));
        if (!runSteps(thermal))
            return false;
        // The files are on disk before the run is recorded as done; a failure from here on
        // removes them with the capture.
        if (const QString unsynced = written.syncToDisk(); !unsynced.isEmpty())
            return failStep(unsynced);
        countWorkTables(result);
        // The stamp, the audit entries of the lines and the run's record commit together.
        RunHistory history(m_db, &m_dialogs);
        result.stamp = RunHistory::unusedStamp(m_db, input.impDate, nextStamp(m_db, input.impDate));
        Transaction stamped(m_db);
        history.beforeStamp(input.impDate, result.stamp);
        m_db.exec(QStringLiteral("UPDATE TBL_ORDER SET FLG3 = '1', B1 = :stamp, FLG2 = '0' ") +
                      kMarkedLines,
                  {{QStringLiteral("stamp"), result.stamp}});
        history.recordRun(ConversionHistory::record(input, result, written.paths()));
        stamped.commit();
        written.keep();
        m_progress.step(9);
    } catch (const DbError &e) {
        m_dialogs.message(e.describe(), Icon::Error);
        rollbackRun();
        return false;
    }
    return true;
}

// The work tables and the files, in order; a letterpress-only run leaves the thermal table
// and files alone. Each step shows its own failure, then the run's message for it.
bool ConversionRun::runSteps(bool thermal)
{
    struct Step {
        std::function<Outcome()> routine;
        const char *failure;
        QList<int> progressAfter;
        bool thermalOnly = false;
    };
    const int timeout = m_workTableTimeoutMs;
    const QList<Step> steps = {
        {[&] { return buildArtworkTable(m_db, m_dialogs, timeout); },
         "指示版下用CSVテーブル作成時にエラーが発生しました。",
         {1}},
        {[&] { return buildReportTable(m_db, m_dialogs, timeout); },
         "レポート用テーブル作成時にエラーが発生しました。",
         {2, 3}},
        {[&] { return buildThermalTable(m_db, m_dialogs, timeout); },
         "熱転写用CSVテーブル作成時にエラーが発生しました。",
         {4},
         true},
        // Names made from the lines are refused before the first file is written; the
        // refusal names the line and needs no step message after it.
        {[&] {
             return checkFileNames(m_db, m_dialogs, thermal, m_folders.car, m_folders.han,
                                   m_folders.stk, m_folders.sht);
         },
         nullptr,
         {}},
        {[&] { return writeThermalFiles(m_db, m_dialogs, m_progress, m_folders.car); },
         "熱転写用CSVファイル書き出し時にエラーが発生しました。",
         {5},
         true},
        {[&] { return writeArtworkFiles(m_db, m_dialogs, m_progress, m_folders.han); },
         "指示版下用CSVファイル書き出し時にエラーが発生しました。",
         {6}},
        {[&] { return writeLotSealFile(m_db, m_dialogs, m_progress, m_folders.stk); },
         "ロットシールCSVファイル書き出し時にエラーが発生しました。",
         {7}},
        {[&] { return writeLotSheetFile(m_db, m_dialogs, m_progress, m_folders.sht); },
         "ロットシートCSVファイル書き出し時にエラーが発生しました。",
         {8}},
    };
    for (const Step &step : steps) {
        if (step.thermalOnly && !thermal)
            continue;
        if (step.routine() != Outcome::Done) {
            if (!step.failure) {
                rollbackRun();
                return false;
            }
            return failStep(QString::fromUtf8(step.failure));
        }
        for (int n : step.progressAfter)
            m_progress.step(n);
    }
    return true;
}

bool ConversionRun::failStep(const QString &message)
{
    m_dialogs.message(message, Icon::Error);
    rollbackRun();
    return false;
}

// A failed step undoes the run: the work tables are emptied and the lines unmarked (the files
// written by earlier steps go with the run's capture). Each statement is tried on its own so that
// the mark is cleared even when a table cannot be emptied.
void ConversionRun::rollbackRun()
{
    const QStringList statements = {
        QStringLiteral("DELETE FROM WRK_RPT"), QStringLiteral("DELETE FROM WRK_CSV_C"),
        QStringLiteral("DELETE FROM WRK_CSV_H"),
        QStringLiteral("UPDATE TBL_ORDER SET FLG2 = '0' ") + kMarkedLines};
    QString firstError;
    for (const QString &sql : statements) {
        try {
            m_db.exec(sql);
        } catch (const DbError &e) {
            if (firstError.isEmpty())
                firstError = e.describe();
        }
    }
    // A connection that is gone leaves marks the next run clears before it selects.
    if (!firstError.isEmpty())
        m_dialogs.message(firstError, Icon::Error);
    m_progress.finish();
}

void ConversionRun::countWorkTables(ConversionResult &result)
{
    const auto countOf = [&](const char *table) {
        return m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table)).toInt();
    };
    try {
        result.artworkRows = countOf("WRK_CSV_H");
        result.printRows = countOf("WRK_CSV_C");
        result.reportRows = countOf("WRK_RPT");
    } catch (const DbError &e) {
        m_dialogs.message(e.describe(), Icon::Error);
    }
}
