// convert, cancel, confirm and update: the conversion screen, its cancel
// button, the confirmation screen and the bulk update of the order edit screen,
// in batch.
#include "CommandRegistry.h"
#include "ImportDates.h"
#include "Session.h"

#include "Confirmation.h"
#include "ConsoleDialogs.h"
#include "ConversionCancel.h"
#include "ConversionRun.h"
#include "Db.h"
#include "OrderBulkUpdate.h"
#include "Progress.h"

#include <cstdio>

namespace {

void printOut(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    writeOut(text + QLatin1Char('\n'));
}

// "--set-date FROM TO" takes two values; std::nullopt when absent, *missing
// when incomplete.
std::optional<std::pair<QString, QString>> takeRange(QStringList &args, const QString &name,
                                                     bool *missing)
{
    const qsizetype at = args.indexOf(name);
    if (at < 0)
        return std::nullopt;
    if (at + 2 >= args.size()) {
        *missing = true;
        args.remove(at, args.size() - at);
        return std::nullopt;
    }
    std::pair<QString, QString> range{args.at(at + 1), args.at(at + 2)};
    args.remove(at, 3);
    return range;
}

std::optional<Machine> machineOf(const QString &word)
{
    if (word == QLatin1String("any"))
        return Machine::Any;
    if (word == QLatin1String("thermal"))
        return Machine::Thermal;
    if (word == QLatin1String("letterpress"))
        return Machine::Letterpress;
    return std::nullopt;
}

int convertCommand(BatchContext &ctx, const Command &self)
{
    bool missing = false;
    const auto machine = takeOption(ctx.args, QStringLiteral("--machine"), &missing);
    const auto special = takeOption(ctx.args, QStringLiteral("--special"), &missing);
    const auto setDates = takeRange(ctx.args, QStringLiteral("--set-date"), &missing);
    if (missing)
        return usageError(self, QStringLiteral("convert: an option lacks its value"));
    if (ctx.args.size() != 1)
        return usageError(self, QStringLiteral("convert: one import date is needed"));
    ConversionInput input;
    input.impDate = ctx.args.at(0);
    if (machine) {
        const auto m = machineOf(*machine);
        if (!m)
            return usageError(self, QStringLiteral("convert: --machine any|thermal|letterpress"));
        input.machine = *m;
    }
    input.special = special.value_or(QString());
    if (setDates) {
        input.setDateFrom = setDates->first;
        input.setDateTo = setDates->second;
    }
    ConversionRun run(ctx.db(), ctx.dialogs, ctx.progress, ctx.session.outputFolders());
    const ConversionResult result = run.run(input);
    if (!result.converted())
        return ExitFailed;
    printOut(result.report());
    ctx.dialogs.message(QStringLiteral("完了です。"));
    return ExitOk;
}

int cancelCommand(BatchContext &ctx, const Command &self)
{
    if (ctx.args.size() != 1)
        return usageError(self, QStringLiteral("cancel: one import date is needed"));
    ConversionCancel cancel(ctx.db(), ctx.dialogs, ctx.progress);
    return exitCodeOf(cancel.run(ctx.args.at(0)));
}

int confirmCommand(BatchContext &ctx, const Command &self)
{
    if (ctx.args.size() != 1)
        return usageError(self, QStringLiteral("confirm: one import date is needed"));
    const QString impDate = ctx.args.at(0);
    ConfirmationCounts counts;
    try {
        counts = Confirmation::counts(ctx.db(), impDate);
    } catch (const DbError &e) {
        ctx.dialogs.message(e.describe(), Icon::Error);
        return ExitFailed;
    }
    printOut(QStringLiteral("合計：%1\n変換済み：%2\n未変換：%3")
                 .arg(counts.total)
                 .arg(counts.converted)
                 .arg(counts.unconverted));
    Confirmation confirmation(ctx.db(), ctx.dialogs, ctx.progress);
    return exitCodeOf(confirmation.run(impDate, counts));
}

int updateCommand(BatchContext &ctx, const Command &self)
{
    bool missing = false;
    BulkUpdateValues values;
    values.printer =
        takeOption(ctx.args, QStringLiteral("--printer"), &missing).value_or(QString());
    values.setDate =
        takeOption(ctx.args, QStringLiteral("--set-date"), &missing).value_or(QString());
    values.special =
        takeOption(ctx.args, QStringLiteral("--special"), &missing).value_or(QString());
    if (missing)
        return usageError(self, QStringLiteral("update: an option lacks its value"));
    if (ctx.args.size() != 1)
        return usageError(self, QStringLiteral("update: one import date is needed"));
    try {
        // The model must come from the printer list so that its flag is known.
        for (const PrinterModel &model : OrderBulkUpdate::printerModels(ctx.db()))
            if (model.printer == values.printer)
                values.dataFlg = model.dataFlg;
    } catch (const DbError &e) {
        ctx.dialogs.message(e.describe(), Icon::Error);
        return ExitFailed;
    }
    OrderBulkUpdate update(ctx.db(), ctx.dialogs);
    if (update.apply(values, ImportDates::whereFor(ctx.args.at(0))) != Outcome::Done)
        return ExitFailed;
    printOut(QString::number(update.changedLines()) + QStringLiteral("件更新しました。"));
    return ExitOk;
}

Command command(const char *name, const char *usage, const char *summary,
                int (*fn)(BatchContext &, const Command &))
{
    Command c{QLatin1String(name), QLatin1String(usage), QString::fromUtf8(summary),
              /*needsDatabase*/ true, nullptr};
    c.run = [c, fn](BatchContext &ctx) { return fn(ctx, c); };
    return c;
}

} // namespace

void registerConversionCommands(CommandRegistry &registry)
{
    registry.add(command("update", "update DATE [--printer MODEL] [--set-date D] [--special 0|1]",
                         "the bulk update of the order edit screen over the day's unconverted, "
                         "unconfirmed lines",
                         updateCommand));
    registry.add(command("convert",
                         "convert DATE [--machine any|thermal|letterpress] [--set-date FROM TO] "
                         "[--special 0|1]",
                         "a conversion run: work tables, output files, batch stamp; prints the "
                         "result report",
                         convertCommand));
    registry.add(command("cancel", "cancel DATE", "cancels the latest conversion run of the day",
                         cancelCommand));
    registry.add(command("confirm", "confirm DATE",
                         "confirms the day (prints its counts; questions answered by --yes)",
                         confirmCommand));
}
