// runs [DATE], history DATE LN, reprint STAMP LIST, upgrade-db: the run history screen, the
// edit screen's line history, a past run's lists printed again, and the tables an older
// installation lacks.
#include "CommandRegistry.h"
#include "Session.h"

#include "AuditTrail.h"
#include "ConsoleDialogs.h"
#include "Db.h"
#include "HistoryTables.h"
#include "HistoryWrite.h"
#include "ReportEngine.h"
#include "ReportLists.h"
#include "RunList.h"
#include "RunReprint.h"
#include "Schema.h"

#include <cstdio>

namespace {

// Tabs and line ends inside a value would break the line: written as \t, \n, \r (\ as \\).
// A history that cannot be read: the missing tables, or the database's own description.
int readFailed(BatchContext &ctx, const DbError &e)
{
    ctx.dialogs.message(HistoryWrite::failureText(ctx.db(), e.describe()), Icon::Error);
    return ExitFailed;
}

int runsCommand(BatchContext &ctx, const Command &self)
{
    if (ctx.args.size() > 1)
        return usageError(self, QStringLiteral("runs: at most one import date"));
    QList<RunRecord> runs;
    try {
        runs = RunList::runs(ctx.db(), ctx.args.value(0));
        for (RunRecord &run : runs)
            run.files = RunList::files(ctx.db(), run.impDate, run.stamp);
    } catch (const DbError &e) {
        return readFailed(ctx, e);
    }
    if (runs.isEmpty())
        return refuseNoRecords(ctx);
    for (const RunRecord &run : runs)
        printFields({run.impDate, run.stamp, run.state, run.user, run.computer, run.machine,
                     run.setDateFrom, run.setDateTo, run.special, QString::number(run.orderCount),
                     QString::number(run.artworkRows), QString::number(run.printRows),
                     QString::number(run.reportRows), run.stateUser, run.stateTime,
                     run.files.join(QLatin1Char('|'))});
    std::fflush(stdout);
    return ExitOk;
}

int historyCommand(BatchContext &ctx, const Command &self)
{
    bool isNumber = false;
    if (ctx.args.size() == 2)
        ctx.args.at(1).toInt(&isNumber);
    if (!isNumber)
        return usageError(self, QStringLiteral("history: an import date and a line number"));
    QList<AuditEntry> entries;
    try {
        entries = AuditTrail::entries(ctx.db(), ctx.args.at(0), ctx.args.at(1).toInt());
    } catch (const DbError &e) {
        return readFailed(ctx, e);
    }
    if (entries.isEmpty())
        return refuseNoRecords(ctx);
    for (const AuditEntry &e : entries)
        printFields({e.at, e.user, e.computer, e.kind, e.column, e.oldValue, e.newValue});
    std::fflush(stdout);
    return ExitOk;
}

// The import date of the run a stamp names; std::nullopt after the refusal (none, or runs
// of several days share the stamp and --date does not choose).
std::optional<QString> runDate(BatchContext &ctx, const Command &self, const QString &stamp,
                               const std::optional<QString> &date, int *status)
{
    const QStringList dates = RunList::impDatesOf(ctx.db(), stamp);
    if (date && dates.contains(*date))
        return *date;
    if (!date && dates.size() == 1)
        return dates.first();
    if (!date && dates.size() > 1) {
        *status = usageError(self, QStringLiteral("reprint: ") + stamp +
                                       QStringLiteral(" の実行は複数の処理日にあります（") +
                                       dates.join(QLatin1Char(',')) +
                                       QStringLiteral("）。--date で処理日を指定してください。"));
        return std::nullopt;
    }
    *status = refuseNoRecords(ctx);
    return std::nullopt;
}

int reprintCommand(BatchContext &ctx, const Command &self)
{
    bool missing = false;
    const auto to = takeOption(ctx.args, QStringLiteral("--to"), &missing);
    const auto date = takeOption(ctx.args, QStringLiteral("--date"), &missing);
    if (missing || ctx.args.size() != 2)
        return usageError(self, QStringLiteral("reprint: a run's stamp and one list"));
    const QString stamp = ctx.args.at(0);
    const QString kind = ctx.args.at(1);
    if (!ReportLists::isKind(kind))
        return usageError(self, QStringLiteral("不明なリストです: ") + kind);
    int status = ExitFailed;
    std::optional<QString> impDate;
    try {
        impDate = runDate(ctx, self, stamp, date, &status);
    } catch (const DbError &e) {
        return readFailed(ctx, e);
    }
    if (!impDate)
        return status;
    ReportEngine engine;
    const PrintRequest request{ctx.db(), ctx.dialogs, ctx.progress,
                               to.value_or(ctx.session.listPrinter())};
    return exitCodeOf(RunReprint::print(kind, engine, request, *impDate, stamp));
}

int upgradeDbCommand(BatchContext &ctx, const Command &self)
{
    if (!ctx.args.isEmpty())
        return usageError(self, QStringLiteral("余分な引数があります。"));
    QStringList created;
    try {
        created = Schema::createMissing(ctx.db()) + Schema::addMissingColumns(ctx.db()) +
                  Schema::widenColumns(ctx.db()) + Schema::collateTextColumns(ctx.db());
        Schema::unlogWorkTables(ctx.db());
    } catch (const DbError &e) {
        ctx.dialogs.message(e.describe(), Icon::Error, QStringLiteral("upgrade-db"));
        return ExitFailed;
    }
    if (created.isEmpty()) {
        ctx.dialogs.message(QStringLiteral("追加するテーブルはありません。"), Icon::Information);
        return ExitOk;
    }
    for (const QString &table : created)
        printFields({table});
    std::fflush(stdout);
    ctx.dialogs.message(QStringLiteral("完了しました。"));
    return ExitOk;
}

} // namespace

void registerHistoryCommands(CommandRegistry &registry)
{
    registry.addDatabaseCommand(
        QStringLiteral("runs"), QStringLiteral("runs [DATE]"),
        QStringLiteral("lists the conversion runs (of one import date), newest first: IMP_DATE, "
                       "stamp B1, state (変換済/取消/確定), operator, workstation, machine, set "
                       "dates from and to, 特定変換, the four counts of the result report, who "
                       "set the state and when, the files written (separated by |), separated "
                       "by tabs"),
        runsCommand);
    registry.addDatabaseCommand(
        QStringLiteral("history"), QStringLiteral("history DATE LN"),
        QStringLiteral("prints the changes of one order line, oldest first: when, operator, "
                       "workstation, what changed it, column ('*': the line was deleted), old "
                       "and new value, separated by tabs"),
        historyCommand);
    registry.addDatabaseCommand(
        QStringLiteral("reprint"),
        QStringLiteral("reprint STAMP OrderList|CarList|TotalList [--date DATE] [--to PRINTER]"),
        QStringLiteral("prints a list of a past run again, as the run converted it (STAMP as "
                       "`runs` shows it, e.g. \"2026/12/08 10:00:00\"; --date when runs of "
                       "several days share the stamp); --to as for print"),
        reprintCommand);
    registry.addDatabaseCommand(
        QStringLiteral("upgrade-db"), QStringLiteral("upgrade-db"),
        QStringLiteral("creates the tables and columns an installation made by an older version "
                       "lacks (the run history and the audit trail), and on PostgreSQL puts "
                       "text columns into collation C; prints their names"),
        upgradeDbCommand);
}
