#include "DbTest.h"

#include "Clock.h"
#include "Desktop.h"
#include "IniFile.h"
#include "Schema.h"
#include "ScreenRegistry.h"
#include "globals.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

namespace {
QAtomicInt s_schemaCounter;
}

ConnectionSettings testServerSettings()
{
    ConnectionSettings s;
    const QString server = qEnvironmentVariable("OSTERA_TEST_PG");
    if (server.isEmpty())
        return s;
    s.provider = QStringLiteral("PostgreSQL");
    s.server = server;
    s.database = qEnvironmentVariable("OSTERA_TEST_PGDATABASE", QStringLiteral("ostera_test"));
    s.user = qEnvironmentVariable("OSTERA_TEST_PGUSER", QStringLiteral("postgres"));
    s.password = qEnvironmentVariable("OSTERA_TEST_PGPASSWORD");
    s.timeout = 10;
    return s;
}

QString testDataPath(const QString &relative)
{
    return QDir(QStringLiteral(OSTERA_TEST_DATA_DIR)).filePath(relative);
}

QByteArray readTestData(const QString &relative)
{
    QFile file(testDataPath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void DbTest::SetUp()
{
    resetGlobals();
    session.shutdown();
    session.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());

    if (GetParam() == Engine::PostgreSQL) {
        m_settings = testServerSettings();
        if (m_settings.provider.isEmpty())
            GTEST_SKIP() << "PostgreSQL not configured (OSTERA_TEST_PG)";
        m_pgSchema = QStringLiteral("t%1_%2")
                         .arg(QCoreApplication::applicationPid())
                         .arg(s_schemaCounter.fetchAndAddRelaxed(1));
        m_settings.schema = m_pgSchema;
    } else {
        m_settings.provider = QStringLiteral("SQLite");
        m_settings.server = QStringLiteral("ostera.db");
        m_settings.timeout = 20;
    }
    m_settings.baseDir = dir();

    {
        Db setup(m_settings);
        try {
            setup.open(/*createIfMissing*/ true);
            QString message;
            ASSERT_EQ(Schema::create(setup, &message), Outcome::Done) << message.toStdString();
        } catch (const DbError &e) {
            FAIL() << "cannot prepare the test database: " << e.describe().toStdString();
        }
    }

    gProvider = m_settings.provider;
    gServerName = m_settings.server;
    gDbName = m_settings.database;
    gDbUser = m_settings.user;
    gDbPassword = m_settings.password;
    gTimeout = m_settings.timeout;
    gDbSchema = m_settings.schema;
    session.setIniPath(iniPath());
    session.setUserName(QStringLiteral("tester"));
    session.setListPrinter(QStringLiteral("PDFファイル"));
    gComputerName = QStringLiteral("TESTPC");
    gVersion = QStringLiteral("Version 1.0.0");
    const QStringList folders = {QStringLiteral("out/生産C"), QStringLiteral("out/確認版下"),
                                 QStringLiteral("out/指示版下"), QStringLiteral("out/ロットシール"),
                                 QStringLiteral("out/ロットシート")};
    for (const QString &f : folders)
        QDir().mkpath(path(f));
    OutputFolders set;
    set.car = path(folders[0]);
    set.kak = path(folders[1]);
    set.han = path(folders[2]);
    set.stk = path(folders[3]);
    set.sht = path(folders[4]);
    session.setFolderSettings(set);
    writeIni();

    Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)));
    setAppDialogs(&dialogs);
    setAppProgress(&progress);
    // Screens a test opens through the registry are built with the test's session.
    ScreenRegistry::instance().setSession(&session);
    opened.clear();
    Desktop::setOpener([this](const QString &file) { opened << file; });
    ASSERT_EQ(session.open(dialogs), Outcome::Done)
        << dialogs.texts().join(QLatin1Char('\n')).toStdString();
}

void DbTest::TearDown()
{
    ScreenRegistry::instance().setSession(nullptr);
    session.shutdown();
    setAppDialogs(nullptr);
    setAppProgress(nullptr);
    Clock::setFixed(QDateTime());
    Desktop::setOpener(nullptr);
    if (!m_pgSchema.isEmpty()) {
        ConnectionSettings admin = m_settings;
        admin.schema.clear();
        Db cleanup(admin);
        try {
            cleanup.open();
            cleanup.exec(QStringLiteral("DROP SCHEMA IF EXISTS \"%1\" CASCADE").arg(m_pgSchema));
        } catch (const DbError &) {
        }
    }
}

std::unique_ptr<Db> DbTest::openSecond() const
{
    auto second = std::make_unique<Db>(m_settings);
    second->open();
    return second;
}

QString DbTest::iniPath() const
{
    return QDir(dir()).filePath(QStringLiteral("ostera.ini"));
}

QString DbTest::path(const QString &relative) const
{
    return QDir(dir()).filePath(relative);
}

int DbTest::count(const QString &table, const QString &where)
{
    QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    return db().scalar(sql).toInt();
}

void DbTest::writeIni() const
{
    IniFile ini;
    ini.setFileName(iniPath());
    ini.setSection(QStringLiteral("SQLDB"));
    ini.writeString(QStringLiteral("PROVIDER"), m_settings.provider);
    ini.writeString(QStringLiteral("SERVER_NM"), m_settings.server);
    ini.writeString(QStringLiteral("DB_NM"), m_settings.database);
    ini.writeString(QStringLiteral("DBUSER_NM"), m_settings.user);
    ini.writeString(QStringLiteral("PASSWORD"), m_settings.password);
    ini.writeString(QStringLiteral("TIMEOUT"), QString::number(m_settings.timeout));
    if (!m_settings.schema.isEmpty())
        ini.writeString(QStringLiteral("SCHEMA"), m_settings.schema);
    ini.setSection(QStringLiteral("Zenpan"));
    ini.writeString(QStringLiteral("L_PRINTER"), session.listPrinter());
    ini.writeString(QStringLiteral("D_PRINTER"), QString());
    ini.writeString(QStringLiteral("USER_NM"), session.userName());
    ini.setSection(QStringLiteral("tarvolin"));
    const OutputFolders &folders = session.folderSettings();
    ini.writeString(QStringLiteral("CarDir"), folders.car);
    ini.writeString(QStringLiteral("KakDir"), folders.kak);
    ini.writeString(QStringLiteral("HanDir"), folders.han);
    ini.writeString(QStringLiteral("StkDir"), folders.stk);
    ini.writeString(QStringLiteral("ShtDir"), folders.sht);
}

DbTest::Run DbTest::runOstera(const QStringList &args, int timeoutMs) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("OSTERA_FIXED_CLOCK"), Clock::stamp());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(OSTERA_BINARY), QStringList(args)
                                                     << QStringLiteral("--ini") << iniPath());
    Run run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("timed out");
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void PrintTo(Outcome outcome, std::ostream *os)
{
    switch (outcome) {
    case Outcome::Done:
        *os << "Done";
        return;
    case Outcome::Unchanged:
        *os << "Unchanged";
        return;
    case Outcome::Declined:
        *os << "Declined";
        return;
    case Outcome::Refused:
        *os << "Refused";
        return;
    case Outcome::Failed:
        *os << "Failed";
        return;
    }
    *os << "Outcome(" << int(outcome) << ')';
}
