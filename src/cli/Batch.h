// `ostera COMMAND ...`: start-up without windows, then the command.
#pragma once

#include <QStringList>

// True when the arguments name a batch command (or --help) rather than starting the desk.
bool isBatchInvocation(const QStringList &args);

// Runs the batch command of args (without the program name); returns the exit status.
int runBatch(const QStringList &args, const QString &programPath);
