// print OrderList|CarList|TotalList|QulMst [--to PRINTER] [--date D]
#include "CommandRegistry.h"
#include "Session.h"

#include "ConsoleDialogs.h"
#include "Db.h"
#include "Progress.h"
#include "QualityCardReport.h"
#include "QualityCardSelection.h"
#include "ReportEngine.h"
#include "ReportLists.h"

namespace {

const QString kQulMst = QStringLiteral("QulMst");

Outcome printQualityCards(BatchContext &ctx, ReportEngine &engine, const PrintRequest &request,
                          const QString &date)
{
    const QList<QSqlRecord> rows = QualityCardSelection::selectByDate(ctx.db(), ctx.dialogs, date);
    if (rows.isEmpty())
        return Outcome::Refused; // "レコードがありません。" has been said
    return QualityCardReport::print(engine, request, rows);
}

// The print screen refuses an empty WRK_RPT before printing; so does the command.
Outcome printRunList(BatchContext &ctx, ReportEngine &engine, const PrintRequest &request,
                     const QString &kind)
{
    if (ReportLists::reportImpDate(ctx.db()).isEmpty()) {
        ctx.dialogs.message(QStringLiteral("レコードがありません。"), Icon::Error);
        return Outcome::Refused;
    }
    if (ReportLists::print(kind, engine, request) == Outcome::Done)
        return Outcome::Done;
    ctx.dialogs.message(QStringLiteral("失敗しました。"), Icon::Error);
    return Outcome::Failed;
}

Command printCommand()
{
    Command command;
    command.name = QStringLiteral("print");
    command.usage =
        QStringLiteral("print OrderList|CarList|TotalList|QulMst [--to PRINTER] [--date D]");
    command.summary = QStringLiteral(
        "prints a list of the latest conversion run (QulMst: the quality cards, --date yyyy/mm/dd "
        "as the screen's date prompt); --to names the printer instead of L_PRINTER (PDFファイル: "
        "a PDF in print/, its path on stdout)");
    command.needsDatabase = true;
    return command;
}

int print(BatchContext &ctx)
{
    const Command command = printCommand();
    bool missing = false;
    const auto to = takeOption(ctx.args, QStringLiteral("--to"), &missing);
    const auto date = takeOption(ctx.args, QStringLiteral("--date"), &missing);
    if (missing || ctx.args.size() != 1)
        return usageError(command, QStringLiteral("印刷するリストを一つ指定してください。"));
    const QString kind = ctx.args.first();
    if (kind != kQulMst && !ReportLists::isKind(kind))
        return usageError(command, QStringLiteral("不明なリストです: ") + kind);
    if (date && kind != kQulMst)
        return usageError(command, QStringLiteral("--date は QulMst だけに指定できます。"));

    ReportEngine engine;
    const PrintRequest request{ctx.db(), ctx.dialogs, ctx.progress,
                               to.value_or(ctx.session.listPrinter())};
    try {
        const Outcome outcome =
            kind == kQulMst ? printQualityCards(ctx, engine, request, date.value_or(QString()))
                            : printRunList(ctx, engine, request, kind);
        return exitCodeOf(outcome);
    } catch (const DbError &e) {
        ctx.dialogs.message(e.describe(), Icon::Error);
        return ExitFailed;
    }
}

} // namespace

void registerReportCommands(CommandRegistry &registry)
{
    Command command = printCommand();
    command.run = print;
    registry.add(std::move(command));
}
