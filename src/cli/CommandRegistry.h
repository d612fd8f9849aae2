// The batch commands of `ostera COMMAND ...`. Each subsystem registers its commands in its own
// file (src/cli/<Subsystem>Commands.cpp); the commands call the same logic as the screens.
#pragma once

#include "Outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class ConsoleDialogs;
class Db;
class Progress;
class Session;

// What every command gets: the console dialogs (questions answered by --yes), the progress
// line, its own arguments (global options already removed) and the session of the run (its
// connection, printers and folders, as the desk's screens get theirs).
struct BatchContext {
    ConsoleDialogs &dialogs;
    Progress &progress;
    QStringList args;
    bool answerYes = false;
    Session &session;
    // The session's connection; opened before a command that needs the database runs.
    Db &db() const;
};

// Exit status of a command: 0 success; 1 a refusal or failure; 2 bad usage.
enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

// Only an action that did what was asked ends a command with 0.
inline int exitCodeOf(Outcome outcome)
{
    return outcome == Outcome::Done ? ExitOk : ExitFailed;
}

struct Command {
    QString name;              // "import", "masters", ...
    QString usage;             // "import FILE [--date YYYYMMDD]"
    QString summary;           // one line for --help
    bool needsDatabase = true; // opens the session's connection before running
    std::function<int(BatchContext &)> run;
    bool makesInstallation = false; // runs without an INI file (demo DIR makes one)
};

class CommandRegistry {
public:
    void add(Command command) { m_commands.append(std::move(command)); }
    // A command on the database whose routine also gets its own description (for usage
    // errors).
    void addDatabaseCommand(const QString &name, const QString &usage, const QString &summary,
                            int (*run)(BatchContext &, const Command &));
    const Command *find(const QString &name) const;
    const QList<Command> &all() const { return m_commands; }

private:
    QList<Command> m_commands;
};

// Usage problem inside a command: prints the usage line and returns ExitUsage.
int usageError(const Command &command, const QString &problem);
int usageError(const QString &usageLine, const QString &problem);

// Text on stdout as it stands, flushed.
void writeOut(const QString &text);
// One line of tab-separated values on stdout (flushed by the caller when its list ends); a
// backslash, tab or line end inside a value is written as \\, \t, \n or \r.
void printFields(const QStringList &values);
// The refusal "レコードがありません。" (exit status 1).
int refuseNoRecords(BatchContext &ctx);

// Takes "--name VALUE" out of args; std::nullopt when absent. A missing value sets *missing.
std::optional<QString> takeOption(QStringList &args, const QString &name, bool *missing = nullptr);
// Takes a "--flag" out of args.
bool takeFlag(QStringList &args, const QString &name);

// Registration functions, one per subsystem file.
void registerFoundationCommands(CommandRegistry &registry);
void registerPeriodCommands(CommandRegistry &registry);
void registerIntakeCommands(CommandRegistry &registry);
void registerConversionCommands(CommandRegistry &registry);
void registerReportCommands(CommandRegistry &registry);
void registerMasterCommands(CommandRegistry &registry);
void registerHistoryCommands(CommandRegistry &registry);
void registerMigrationCommands(CommandRegistry &registry);
