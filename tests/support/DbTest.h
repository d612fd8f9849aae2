// A fresh database for every test, on SQLite (a temporary file) and on PostgreSQL (a schema
// of its own on the server scripts/test starts). The test's installation folder holds an INI
// file for that database and the five output folders, and the test's session points at all of
// it (its connection is db()).
//
//   class ControlNumbersTest : public DbTest {};
//   INSTANTIATE_ENGINES(ControlNumbersTest);
//   TEST_P(ControlNumbersTest, ...) { ... db() ... dialogs ... }
//
// PostgreSQL cases run when OSTERA_TEST_PG ("host:port") is set; when it is set and the
// server cannot be reached, they fail. Without it they are skipped (a developer's quick run).
#pragma once

#include "Db.h"
#include "Outcome.h"
#include "RecordingProgress.h"
#include "ScriptedDialogs.h"
#include "Session.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// A failed comparison names the outcome instead of showing its bytes.
void PrintTo(Outcome outcome, std::ostream *os);

class DbTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    void TearDown() override;

    Db &db() { return *session.db(); }
    Engine engine() const { return GetParam(); }
    bool isPostgreSQL() const { return GetParam() == Engine::PostgreSQL; }
    const ConnectionSettings &settings() const { return m_settings; }

    // Another workstation: a new connection to the same database.
    std::unique_ptr<Db> openSecond() const;

    // The test's installation folder and its INI file (the session's).
    QString dir() const { return m_dir->path(); }
    QString iniPath() const;
    QString path(const QString &relative) const;

    int count(const QString &table, const QString &where = QString());
    // Sets one output folder of the session as the options screen would have stored it.
    void setFolder(QString OutputFolders::*folder, const QString &value)
    {
        OutputFolders folders = session.folderSettings();
        folders.*folder = value;
        session.setFolderSettings(folders);
    }

    struct Run {
        int status = -1;
        QString out;
        QString err;
    };
    // Runs the ostera program on this test's installation (adds --ini).
    Run runOstera(const QStringList &args, int timeoutMs = 120000) const;

    // What the desk's start-up would have made: connection, printers, folders, operator.
    Session session;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    // Files handed to the desktop to open (sheets, PDFs), in order.
    QStringList opened;

private:
    void writeIni() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    ConnectionSettings m_settings;
    QString m_pgSchema;
};

#define INSTANTIATE_ENGINES(Fixture)                                                               \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Engines, Fixture, ::testing::Values(Engine::SQLite, Engine::PostgreSQL),                   \
        [](const ::testing::TestParamInfo<Engine> &info) {                                         \
            return std::string(info.param == Engine::SQLite ? "SQLite" : "PostgreSQL");            \
        })

// Screens hand every query to logic units whose tests run on both engines; a screen test
// runs once, on SQLite, unless what it shows comes from the engine itself (the paged grid's
// PostgreSQL cursor, a refused save rolled back inside the engine's transaction).
#define INSTANTIATE_SCREEN_TEST(Fixture)                                                           \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Engines, Fixture, ::testing::Values(Engine::SQLite),                                       \
        [](const ::testing::TestParamInfo<Engine> &) { return std::string("SQLite"); })

// Settings of the PostgreSQL server of the test run (empty provider when none is configured).
ConnectionSettings testServerSettings();

// A file under tests/data.
QString testDataPath(const QString &relative);
QByteArray readTestData(const QString &relative);
