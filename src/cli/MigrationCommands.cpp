// migrate SOURCE [--dry-run], backup FILE, restore FILE: switching a shop over from the existing
// system, and keeping its data safe.
#include "CommandRegistry.h"
#include "Session.h"

#include "ConsoleDialogs.h"
#include "DatabaseBackup.h"
#include "Db.h"
#include "MigrationRun.h"
#include "MigrationSource.h"
#include "StartUp.h"

#include <QFileInfo>

namespace {

int migrateCommand(BatchContext &ctx, const Command &self)
{
    const bool dryRun = takeFlag(ctx.args, QStringLiteral("--dry-run"));
    if (ctx.args.size() != 1)
        return usageError(
            self, QStringLiteral("移行元（フォルダか odbc:接続文字列）を一つ指定してください。"));
    QString problem;
    const std::unique_ptr<MigrationSource> source =
        MigrationSource::fromArgument(ctx.args.first(), &problem);
    if (!source) {
        ctx.dialogs.message(problem, Icon::Error, QStringLiteral("migrate"));
        return ExitFailed;
    }
    const MigrationReport report = MigrationRun(ctx.db(), ctx.progress).run(*source, dryRun);
    writeOut(report.text());
    const bool refused = report.outcome == MigrationReport::Outcome::Refused;
    ctx.dialogs.message(report.outcomeMessage(), refused ? Icon::Error : Icon::Information,
                        QStringLiteral("migrate"));
    return refused ? ExitFailed : ExitOk;
}

int backupCommand(BatchContext &ctx, const Command &self)
{
    if (ctx.args.size() != 1)
        return usageError(self, QStringLiteral("バックアップのファイルを一つ指定してください。"));
    const DatabaseBackup::Result result =
        DatabaseBackup(ctx.db()).backup(QFileInfo(ctx.args.first()).absoluteFilePath());
    ctx.dialogs.message(result.message, result.ok ? Icon::Information : Icon::Error,
                        QStringLiteral("backup"));
    return result.ok ? ExitOk : ExitFailed;
}

// The installation may be new (its SQLite file not made yet, its schema not there), so the
// command opens its own connection, as init-db does.
int restoreCommand(BatchContext &ctx)
{
    const QString usage = QStringLiteral("restore FILE");
    if (ctx.args.size() != 1)
        return usageError(usage, QStringLiteral("バックアップのファイルを一つ指定してください。"));
    if (readSettings(ctx.session, ctx.dialogs) != Outcome::Done)
        return ExitFailed;
    Db db(ConnectionSettings::fromGlobals());
    try {
        db.open(/*createIfMissing*/ true);
    } catch (const DbError &e) {
        ctx.dialogs.message(e.describe(), Icon::Error, QStringLiteral("restore"));
        return ExitFailed;
    }
    const DatabaseBackup::Result result =
        DatabaseBackup(db).restore(QFileInfo(ctx.args.first()).absoluteFilePath());
    ctx.dialogs.message(result.message, result.ok ? Icon::Information : Icon::Error,
                        QStringLiteral("restore"));
    return result.ok ? ExitOk : ExitFailed;
}

} // namespace

void registerMigrationCommands(CommandRegistry &registry)
{
    registry.addDatabaseCommand(
        QStringLiteral("migrate"), QStringLiteral("migrate SOURCE [--dry-run]"),
        QStringLiteral("loads the existing system's tables (a folder of bcp or CSV exports, or "
                       "odbc:CONNECTION) into this empty installation after checking them; "
                       "--dry-run prints the report only"),
        migrateCommand);
    registry.addDatabaseCommand(
        QStringLiteral("backup"), QStringLiteral("backup FILE"),
        QStringLiteral("writes a consistent copy of the database while desks run (SQLite online "
                       "backup; PostgreSQL pg_dump custom format)"),
        backupCommand);
    registry.add({QStringLiteral("restore"), QStringLiteral("restore FILE"),
                  QStringLiteral("restores a backup into this empty installation"),
                  /*needsDatabase*/ false, restoreCommand});
}
