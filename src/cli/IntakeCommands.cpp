// import FILE [--date YYYYMMDD], check DATE, errors DATE: the import screen, the re-check
// screen and the error list in batch.
#include "CommandRegistry.h"
#include "Session.h"

#include "Clock.h"
#include "ConsoleDialogs.h"
#include "Db.h"
#include "ImportRun.h"
#include "OpenMonth.h"
#include "OrderCheck.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>

#include <cstdio>

namespace {

bool isImportDate(const QString &text)
{
    static const QRegularExpression eightDigits(QStringLiteral("^\\d{8}$"));
    return eightDigits.match(text).hasMatch() &&
           QDate::fromString(text, QStringLiteral("yyyyMMdd")).isValid();
}

bool dayHasLines(Db &db, const QString &impDate)
{
    return db.exists(QStringLiteral("SELECT 1 FROM TBL_ORDER WHERE IMP_DATE = :d"),
                     {{QStringLiteral("d"), impDate}});
}

// Failures the run reported along the way (a check that failed, for instance) make the exit
// status 1, so that a script knows to look.
int statusAfter(BatchContext &ctx, Outcome outcome)
{
    return outcome == Outcome::Done && ctx.dialogs.errorCount() == 0 ? ExitOk : ExitFailed;
}

int importCommand(BatchContext &ctx, const Command &self)
{
    bool missing = false;
    const auto date = takeOption(ctx.args, QStringLiteral("--date"), &missing);
    if (missing || ctx.args.size() != 1)
        return usageError(self, QStringLiteral("import: one order file is needed"));
    const QString impDate = date.value_or(Clock::today().toString(QStringLiteral("yyyyMMdd")));
    if (!isImportDate(impDate))
        return usageError(self, QStringLiteral("import: the date is YYYYMMDD"));
    std::optional<OpenMonth> month;
    try {
        month = OpenMonth::read(ctx.db());
    } catch (const DbError &e) {
        ctx.dialogs.message(e.describe(), Icon::Error);
        return ExitFailed;
    }
    if (!month) {
        ctx.dialogs.message(OpenMonth::notSetMessage(), Icon::Error);
        return ExitFailed;
    }
    const ImportRequest request{QFileInfo(ctx.args.first()).absoluteFilePath(), impDate, month->nen,
                                month->tuki, Clock::today()};
    return statusAfter(ctx, ImportRun(ctx.db(), ctx.dialogs, ctx.progress).run(request));
}

int checkCommand(BatchContext &ctx, const Command &self)
{
    if (ctx.args.size() != 1)
        return usageError(self, QStringLiteral("check: one import date is needed"));
    const QString impDate = ctx.args.first();
    try {
        if (!dayHasLines(ctx.db(), impDate))
            return refuseNoRecords(ctx);
    } catch (const DbError &e) {
        ctx.dialogs.message(e.describe(), Icon::Error);
        return ExitFailed;
    }
    if (checkDay(ctx.db(), ctx.dialogs, ctx.progress, impDate) != Outcome::Done)
        ctx.dialogs.message(QStringLiteral("エラーチェック中にエラーが発生しました。"),
                            Icon::Error);
    ctx.dialogs.message(recheckDoneMessage(ctx.db(), impDate));
    // A check that failed has said so: the status follows the messages, as for the import.
    return statusAfter(ctx, Outcome::Done);
}

// Tabs and line ends inside a value would break the line: written as \t, \n, \r (and \ as \\).
int errorsCommand(BatchContext &ctx, const Command &self)
{
    if (ctx.args.size() != 1)
        return usageError(self, QStringLiteral("errors: one import date is needed"));
    const QString impDate = ctx.args.first();
    int printed = 0;
    try {
        ctx.db().forEach(
            QStringLiteral("SELECT IMP_DATE, IMP_LN, ERR_LN, ERR1, ERR2, ERR3 FROM TBL_ERR "
                           "WHERE IMP_DATE = :d ORDER BY IMP_LN, ERR_LN"),
            {{QStringLiteral("d"), impDate}}, [&printed](const QSqlQuery &q) {
                QStringList values;
                for (int i = 0; i < 6; ++i)
                    values << q.value(i).toString();
                printFields(values);
                ++printed;
            });
        std::fflush(stdout);
        // A day without findings prints nothing; a day that was never imported is refused.
        if (printed == 0 && !dayHasLines(ctx.db(), impDate))
            return refuseNoRecords(ctx);
    } catch (const DbError &e) {
        ctx.dialogs.message(e.describe(), Icon::Error);
        return ExitFailed;
    }
    return ExitOk;
}

} // namespace

void registerIntakeCommands(CommandRegistry &registry)
{
    registry.addDatabaseCommand(
        QStringLiteral("import"), QStringLiteral("import FILE [--date YYYYMMDD]"),
        QStringLiteral("imports a day's order file under the open business month (default date: "
                       "today), numbers, builds, registers and checks the day"),
        importCommand);
    registry.addDatabaseCommand(
        QStringLiteral("check"), QStringLiteral("check DATE"),
        QStringLiteral("completes the day's lines from the masters and runs the error check again"),
        checkCommand);
    registry.addDatabaseCommand(
        QStringLiteral("errors"), QStringLiteral("errors DATE"),
        QStringLiteral("prints the day's findings: IMP_DATE, IMP_LN, ERR_LN, ERR1, ERR2, ERR3 "
                       "separated by tabs"),
        errorsCommand);
}
