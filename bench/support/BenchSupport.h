// What the benchmark programs share: their output, the figures of their own process, the
// shared PostgreSQL server of the tests, the engines' command-line clients, and handing a
// connection to the child process that runs the measured work.
#pragma once

#include "Db.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// One line on stdout, flushed at once (the figures interleave with a child's progress).
void say(const QString &text);
// Says what went wrong, named after the program, and ends it with status 1.
[[noreturn]] void die(const QString &text);

// A figure of /proc/self/status in kB ("VmHWM:" the peak, "VmRSS:" the resident memory);
// -1 when it cannot be read.
qint64 procStatusKb(const char *key);
QString mb(qint64 kb);

// "--name N" of the command line, or fallback.
int intOption(const QStringList &args, const QString &name, int fallback);

// The tests' PostgreSQL server (OSTERA_TEST_PG, OSTERA_TEST_PGDATABASE, OSTERA_TEST_PGUSER,
// OSTERA_TEST_PGPASSWORD); nothing when OSTERA_TEST_PG is unset.
std::optional<ConnectionSettings> testServerSettings();
// Creates or drops the schema named by settings.schema, from a connection without it.
void createSchema(const ConnectionSettings &settings);
void dropSchema(const ConnectionSettings &settings);

// A connection as command-line arguments of the child, and read back from them.
QStringList connectionArgs(const ConnectionSettings &s);
ConnectionSettings connectionFromArgs(const QStringList &args, int first);

struct BenchEngine {
    QString name;
    ConnectionSettings settings;
    QString client; // "sqlite3" or "psql"
};

// Runs bench on SQLite, then on the tests' PostgreSQL server in a schema of its own named
// after schemaPrefix and this process (dropped afterwards unless "--keep" is given or
// OSTERA_BENCH_KEEP is set). "--only sqlite" leaves PostgreSQL out, and an unset OSTERA_TEST_PG
// says that it is skipped.
void forEachEngine(const QStringList &args, const QString &schemaPrefix,
                   const std::function<void(const BenchEngine &)> &bench);

QStringList psqlArgs(const ConnectionSettings &s);
// Runs the engine's client on a script (on SQLite after sqlitePrelude); returns the seconds
// it took. A failing client ends the program.
double runClient(const BenchEngine &e, const QString &script, const QString &sqlitePrelude = {});

// What a child process measured: its wall time here, and the peak memory it printed as
// "PEAK_KB n" (its other lines are passed on).
struct ChildResult {
    double seconds = 0;
    long peakKb = 0;
};
// Runs this program again with args; its progress on stderr stays visible. A failing child
// ends the program with failure.
ChildResult runMeasuredChild(const QString &program, const QStringList &args,
                             const QString &failure);
// The child's last line: its peak memory for runMeasuredChild.
void sayPeakMemory();
