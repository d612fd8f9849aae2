#include "Batch.h"

#include "CommandRegistry.h"
#include "ConsoleDialogs.h"
#include "ConsoleProgress.h"
#include "Desktop.h"
#include "Installation.h"
#include "Session.h"
#include "StartUp.h"
#include "globals.h"

#include <QFileInfo>

#include <cstdio>

namespace {

void err(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

CommandRegistry buildRegistry()
{
    CommandRegistry registry;
    registerFoundationCommands(registry);
    registerPeriodCommands(registry);
    registerIntakeCommands(registry);
    registerConversionCommands(registry);
    registerReportCommands(registry);
    registerMasterCommands(registry);
    registerHistoryCommands(registry);
    registerMigrationCommands(registry);
    return registry;
}

QString helpText(const CommandRegistry &registry)
{
    QString text =
        QStringLiteral("usage: ostera [--ini FILE]                 start the desk\n"
                       "       ostera COMMAND [ARGS] [--ini FILE] [--yes] [--user NAME]\n\n"
                       "Commands:\n");
    for (const Command &c : registry.all())
        text += QStringLiteral("  %1\n      %2\n").arg(c.usage, c.summary);
    text += QStringLiteral(
        "\nOptions (anywhere on the line):\n"
        "  --ini FILE   the installation to work on (default: ostera.ini beside the program,\n"
        "               else $XDG_CONFIG_HOME/ostera/ostera.ini)\n"
        "  --yes        answer Yes to every question (without it every question is answered No)\n"
        "  --user NAME  the operator stamped into USER_NM (default: the INI's USER_NM)\n\n"
        "Exit status: 0 success, 1 refusal or failure, 2 bad usage.\n");
    return text;
}

} // namespace

bool isBatchInvocation(const QStringList &args)
{
    QStringList rest = args;
    bool missing = false;
    takeOption(rest, QStringLiteral("--ini"), &missing);
    return !rest.isEmpty();
}

int runBatch(const QStringList &arguments, const QString &programPath)
{
    const CommandRegistry registry = buildRegistry();
    QStringList args = arguments;
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        writeOut(helpText(registry));
        return ExitOk;
    }
    bool missing = false;
    const auto ini = takeOption(args, QStringLiteral("--ini"), &missing);
    const auto user = takeOption(args, QStringLiteral("--user"), &missing);
    const bool yes = takeFlag(args, QStringLiteral("--yes"));
    if (missing || args.isEmpty()) {
        err(helpText(registry));
        return ExitUsage;
    }
    const QString name = args.takeFirst();
    const Command *command = registry.find(name);
    if (!command) {
        err(name + QStringLiteral(" そんな命令ないです。\n\n") + helpText(registry));
        return ExitUsage;
    }

    // A finished sheet or PDF is not opened in batch: its path is printed instead.
    Desktop::setOpener([](const QString &path) { writeOut(path + QLatin1Char('\n')); });

    ConsoleDialogs dialogs(yes);
    ConsoleProgress progress;
    setAppDialogs(&dialogs);
    setAppProgress(&progress);

    Session session;
    session.setIniPath(Installation::resolveIniPath(ini.value_or(QString()), programPath));
    // A mistyped --ini must not read as an empty installation (every command would then fail
    // on the provider "").
    if (ini && !command->makesInstallation && !QFileInfo::exists(session.iniPath())) {
        dialogs.message(settingsProblem(true), Icon::Error, name);
        return ExitFailed;
    }
    if (command->needsDatabase) {
        if (readSettings(session, dialogs) != Outcome::Done) {
            dialogs.message(QStringLiteral("初期化失敗\n強制終了します。"), Icon::Error,
                            QStringLiteral("強制終了"));
            return ExitFailed;
        }
        const QString problem = settingsProblem(ini.has_value());
        if (!problem.isEmpty()) {
            dialogs.message(problem, Icon::Error, name);
            return ExitFailed;
        }
        gComputerName = computerName(dialogs);
    }
    gVersion = versionText();
    if (user)
        session.setUserName(*user);

    int status = ExitFailed;
    if (!command->needsDatabase || session.open(dialogs) == Outcome::Done) {
        BatchContext context{dialogs, progress, args, yes, session};
        status = command->run(context);
    }
    // The connection must go before the application object does.
    session.shutdown();
    setAppDialogs(nullptr);
    setAppProgress(nullptr);
    return status;
}
