// init-db, demo, masters load|dump.
#include "CommandRegistry.h"

#include "ConsoleDialogs.h"
#include "Db.h"
#include "DbConnection.h"
#include "Dialogs.h"
#include "Schema.h"
#include "StartUp.h"
#include "globals.h"

#include <QDir>
#include <QFileInfo>

namespace {

// init-db works before the tables exist, so it opens its own connection (creating a SQLite
// file when there is none) instead of gCn.
int initDb(BatchContext &ctx)
{
    const bool demo = takeFlag(ctx.args, QStringLiteral("--demo"));
    if (!ctx.args.isEmpty())
        return ExitUsage;
    Db db(ConnectionSettings::fromGlobals());
    try {
        db.open(/*createIfMissing*/ true);
        QString message;
        const Schema::Outcome outcome = Schema::create(db, &message);
        if (outcome != Schema::Outcome::Created) {
            ctx.dialogs.message(message, Icon::Error);
            return ExitFailed;
        }
    } catch (const DbError &e) {
        ctx.dialogs.message(e.describe(), Icon::Error, QStringLiteral("init-db"));
        return ExitFailed;
    }
    if (demo) {
        ctx.dialogs.message(QStringLiteral("デモデータの読込みはまだ利用できません。"), Icon::Error);
        return ExitFailed;
    }
    ctx.dialogs.message(QStringLiteral("テーブルを作成しました。"), Icon::Information);
    return ExitOk;
}

} // namespace

void registerFoundationCommands(CommandRegistry &registry)
{
    registry.add({QStringLiteral("init-db"), QStringLiteral("init-db [--demo]"),
                  QStringLiteral("creates every table in the configured database (--demo: also the "
                                 "demo masters and the current business month)"),
                  /*needsDatabase*/ false, [](BatchContext &ctx) {
                      // Settings are read here because the command opens its own connection.
                      if (MF_FirstSetting(ctx.dialogs))
                          return int(ExitFailed);
                      return initDb(ctx);
                  }});
}
