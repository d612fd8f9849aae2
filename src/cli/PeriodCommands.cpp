// month new|confirm|reopen YYYY MM: the monthly register of the monthly-business screen.
#include "CommandRegistry.h"
#include "Session.h"

#include "Clock.h"
#include "ConsoleDialogs.h"
#include "Db.h"
#include "MonthlyRegister.h"

namespace {

const QString kUsage = QStringLiteral("month new|confirm|reopen YYYY MM");

int monthCommand(BatchContext &ctx, const Command &self)
{
    if (ctx.args.size() != 3)
        return usageError(self, QStringLiteral("month: an action, a year and a month are needed"));
    const QString action = ctx.args.at(0);
    QString nen = ctx.args.at(1);
    QString tuki = ctx.args.at(2);

    MonthlyRegister reg(ctx.db(), ctx.dialogs, Clock::today());
    Outcome outcome;
    try {
        if (action == QLatin1String("new"))
            outcome = reg.createMonth(nen, tuki);
        else if (action == QLatin1String("confirm"))
            outcome = reg.confirmMonth(nen, tuki);
        else if (action == QLatin1String("reopen"))
            outcome = reg.reopenMonth(nen, tuki);
        else
            return usageError(self, QStringLiteral("month: unknown action ") + action);
    } catch (const DbError &e) {
        ctx.dialogs.message(e.describe(), Icon::Error);
        return ExitFailed;
    }
    if (outcome == Outcome::Unchanged) {
        // The screen stays silent here; in batch the caller must learn that nothing happened.
        ctx.dialogs.message(QStringLiteral("レコードがありません。"), Icon::Error);
        return ExitFailed;
    }
    return exitCodeOf(outcome);
}

} // namespace

void registerPeriodCommands(CommandRegistry &registry)
{
    Command month{QStringLiteral("month"), kUsage,
                  QStringLiteral("the monthly register: create a month, confirm the open month, "
                                 "reopen a confirmed month"),
                  /*needsDatabase*/ true, nullptr};
    month.run = [month](BatchContext &ctx) { return monthCommand(ctx, month); };
    registry.add(month);
}
