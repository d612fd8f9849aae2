#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <cstdlib>

void say(const QString &text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void die(const QString &text)
{
    say(QFileInfo(QCoreApplication::applicationFilePath()).fileName() + QStringLiteral(": ") +
        text);
    std::exit(1);
}

qint64 procStatusKb(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

QString mb(qint64 kb)
{
    return QString::number(kb / 1024.0, 'f', 1) + QStringLiteral(" MB");
}

int intOption(const QStringList &args, const QString &name, int fallback)
{
    const int at = int(args.indexOf(name));
    return at > 0 && at + 1 < args.size() ? args[at + 1].toInt() : fallback;
}

std::optional<ConnectionSettings> testServerSettings()
{
    const QString server = qEnvironmentVariable("OSTERA_TEST_PG");
    if (server.isEmpty())
        return std::nullopt;
    ConnectionSettings pg;
    pg.provider = QStringLiteral("PostgreSQL");
    pg.server = server;
    pg.database = qEnvironmentVariable("OSTERA_TEST_PGDATABASE", QStringLiteral("ostera_test"));
    pg.user = qEnvironmentVariable("OSTERA_TEST_PGUSER", QStringLiteral("postgres"));
    pg.password = qEnvironmentVariable("OSTERA_TEST_PGPASSWORD");
    return pg;
}

namespace {
void onServer(const ConnectionSettings &settings, const QString &statement)
{
    ConnectionSettings admin = settings;
    admin.schema.clear();
    Db db(admin);
    db.open();
    db.exec(statement.arg(settings.schema));
}
} // namespace

void createSchema(const ConnectionSettings &settings)
{
    onServer(settings, QStringLiteral("CREATE SCHEMA \"%1\""));
}

void dropSchema(const ConnectionSettings &settings)
{
    onServer(settings, QStringLiteral("DROP SCHEMA \"%1\" CASCADE"));
}

void forEachEngine(const QStringList &args, const QString &schemaPrefix,
                   const std::function<void(const BenchEngine &)> &bench)
{
    const int onlyAt = args.indexOf(QStringLiteral("--only"));
    const QString only = onlyAt >= 0 ? args.value(onlyAt + 1) : QString();
    if (only.isEmpty() || only == QLatin1String("sqlite")) {
        BenchEngine sqlite{QStringLiteral("SQLite"), {}, QStringLiteral("sqlite3")};
        sqlite.settings.provider = QStringLiteral("SQLite");
        sqlite.settings.server = QStringLiteral("bench.db");
        bench(sqlite);
    }
    if (only == QLatin1String("sqlite"))
        return;
    const std::optional<ConnectionSettings> server = testServerSettings();
    if (!server) {
        say(QStringLiteral("== PostgreSQL skipped (OSTERA_TEST_PG not set)"));
        return;
    }
    BenchEngine pg{QStringLiteral("PostgreSQL"), *server, QStringLiteral("psql")};
    pg.settings.schema =
        QStringLiteral("%1_%2").arg(schemaPrefix).arg(QCoreApplication::applicationPid());
    createSchema(pg.settings);
    bench(pg);
    if (args.contains(QStringLiteral("--keep")) || qEnvironmentVariableIsSet("OSTERA_BENCH_KEEP"))
        say(QStringLiteral("  schema kept: ") + pg.settings.schema);
    else
        dropSchema(pg.settings);
}

QStringList connectionArgs(const ConnectionSettings &s)
{
    return {s.provider, s.server, s.database, s.user, s.password, s.schema, s.baseDir};
}

ConnectionSettings connectionFromArgs(const QStringList &args, int first)
{
    ConnectionSettings s;
    s.provider = args.value(first);
    s.server = args.value(first + 1);
    s.database = args.value(first + 2);
    s.user = args.value(first + 3);
    s.password = args.value(first + 4);
    s.schema = args.value(first + 5);
    s.baseDir = args.value(first + 6);
    return s;
}

QStringList psqlArgs(const ConnectionSettings &s)
{
    QString host = s.server;
    QString port = QStringLiteral("5432");
    if (host.contains(QLatin1Char(':'))) {
        port = host.section(QLatin1Char(':'), 1);
        host = host.section(QLatin1Char(':'), 0, 0);
    }
    return {QStringLiteral("-X"), QStringLiteral("-q"),
            QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
            QStringLiteral("-h"), host,
            QStringLiteral("-p"), port,
            QStringLiteral("-U"), s.user,
            QStringLiteral("-d"), s.database};
}

double runClient(const BenchEngine &e, const QString &script, const QString &sqlitePrelude)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!e.settings.password.isEmpty())
        env.insert(QStringLiteral("PGPASSWORD"), e.settings.password);
    p.setProcessEnvironment(env);
    QStringList args;
    QString input;
    if (e.client == QLatin1String("sqlite3")) {
        args << QStringLiteral("-bail") << QDir(e.settings.baseDir).filePath(e.settings.server);
        input = sqlitePrelude + script;
    } else {
        args << psqlArgs(e.settings);
        input = QStringLiteral("SET search_path TO \"") + e.settings.schema +
                QStringLiteral("\";\n") + script;
    }
    QElapsedTimer t;
    t.start();
    p.start(e.client, args);
    p.write(input.toUtf8());
    p.closeWriteChannel();
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        die(e.client + QStringLiteral(" failed: ") + QString::fromUtf8(p.readAllStandardError()));
    return t.elapsed() / 1000.0;
}

ChildResult runMeasuredChild(const QString &program, const QStringList &args,
                             const QString &failure)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    child.start(program, args);
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        die(failure);
    ChildResult r;
    r.seconds = t.elapsed() / 1000.0;
    for (const QString &line : QString::fromUtf8(child.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(QStringLiteral("PEAK_KB ")))
            r.peakKb = line.mid(8).toLong();
        else if (!line.isEmpty())
            say(line);
    }
    return r;
}

void sayPeakMemory()
{
    say(QStringLiteral("PEAK_KB %1").arg(procStatusKb("VmHWM:")));
}
