#include "StartUp.h"
#include "Installation.h"
#include "ScriptedDialogs.h"
#include "Session.h"
#include "globals.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetGlobals();
        gIniPath = QDir(dir.path()).filePath(QStringLiteral("ostera.ini"));
    }
    void TearDown() override { resetGlobals(); }
    void writeIni(const QByteArray &text)
    {
        QFile f(gIniPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    Session session;
};
} // namespace

TEST_F(StartUpTest, TimeoutRuleGivesTwentyForZeroNegativeTextAndMissing)
{
    const QList<QPair<QByteArray, int>> cases = {{"TIMEOUT=0\n", 20},
                                                 {"TIMEOUT=-5\n", 20},
                                                 {"TIMEOUT=abc\n", 20},
                                                 {"", 20},
                                                 {"TIMEOUT=45\n", 45}};
    for (const auto &c : cases) {
        writeIni("[SQLDB]\n" + c.first);
        ASSERT_EQ(readSettings(session, dialogs), Outcome::Done);
        EXPECT_EQ(gTimeout, c.second) << c.first.constData();
    }
}

TEST_F(StartUpTest, ReadsEverySettingIntoItsGlobal)
{
    writeIni(
        "[SQLDB]\nPROVIDER=PostgreSQL\nSERVER_NM=db:5433\nDB_NM=ostera\nDBUSER_NM=desk\n"
        "PASSWORD=pw\nTIMEOUT=30\n[Zenpan]\nL_PRINTER=PDFファイル\nD_PRINTER=伝票機\nUSER_NM=山田\n"
        "[tarvolin]\nCarDir=/o/c\nKakDir=/o/k\nHanDir=/o/h\nStkDir=/o/s\nShtDir=/o/t\n");
    ASSERT_EQ(readSettings(session, dialogs), Outcome::Done);
    EXPECT_EQ(gProvider, QStringLiteral("PostgreSQL"));
    EXPECT_EQ(gServerName, QStringLiteral("db:5433"));
    EXPECT_EQ(gDbName, QStringLiteral("ostera"));
    EXPECT_EQ(gDbUser, QStringLiteral("desk"));
    EXPECT_EQ(gDbPassword, QStringLiteral("pw"));
    EXPECT_EQ(gTimeout, 30);
    EXPECT_EQ(session.listPrinter(), QStringLiteral("PDFファイル"));
    EXPECT_EQ(session.dailyPrinter(), QStringLiteral("伝票機"));
    EXPECT_EQ(gUserName, QStringLiteral("山田"));
    EXPECT_EQ(QStringList({session.folderSettings().car, session.folderSettings().kak,
                           session.folderSettings().han, session.folderSettings().stk,
                           session.folderSettings().sht})
                  .join(QLatin1Char(',')),
              QStringLiteral("/o/c,/o/k,/o/h,/o/s,/o/t"));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(StartUpTest, MissingFileIsNoFailureButAnUnreadableOneIs)
{
    EXPECT_EQ(readSettings(session, dialogs), Outcome::Done);
    EXPECT_TRUE(gProvider.isEmpty());
    EXPECT_EQ(gTimeout, 20);
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // A path that exists but cannot be read as a file (here a folder; root reads any file).
    QDir().mkpath(gIniPath);
    EXPECT_EQ(readSettings(session, dialogs), Outcome::Failed);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.last().title, QStringLiteral("MF_FirstSetting"));
    EXPECT_TRUE(dialogs.last().text.endsWith(QStringLiteral("(75)")));
}

TEST_F(StartUpTest, ComputerNameAndVersion)
{
    const QString name = computerName(dialogs);
    EXPECT_LE(name.size(), 15);
    EXPECT_FALSE(name.isEmpty());
    EXPECT_TRUE(
        versionText().contains(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+$"))));
}

TEST_F(StartUpTest, OneCopyPerIniFile)
{
    SingleInstance first;
    SingleInstance second;
    SingleInstance other;
    ASSERT_TRUE(first.acquire(gIniPath));
    EXPECT_FALSE(second.acquire(gIniPath));
    EXPECT_TRUE(other.acquire(QDir(dir.path()).filePath(QStringLiteral("other.ini"))));
}

TEST(InstallationTest, JoinPathUsesExactlyOneSeparator)
{
    EXPECT_EQ(Installation::joinPath(QStringLiteral("/out/lot"), QStringLiteral("LSTK.csv")),
              QStringLiteral("/out/lot/LSTK.csv"));
    EXPECT_EQ(Installation::joinPath(QStringLiteral("/out/lot/"), QStringLiteral("LSTK.csv")),
              QStringLiteral("/out/lot/LSTK.csv"));
    EXPECT_EQ(Installation::joinPath(QStringLiteral("/out/lot//"), QStringLiteral("/LSTK.csv")),
              QStringLiteral("/out/lot/LSTK.csv"));
    EXPECT_EQ(Installation::joinPath(QStringLiteral("C:\\out\\"), QStringLiteral("a.csv")),
              QStringLiteral("C:\\out/a.csv"));
    EXPECT_EQ(Installation::joinPath(QStringLiteral("/"), QStringLiteral("a.csv")),
              QStringLiteral("/a.csv"));
}

TEST(InstallationTest, IniFileIsTheOptionThenBesideTheProgramThenXdg)
{
    QTemporaryDir dir;
    const QString program = QDir(dir.path()).filePath(QStringLiteral("ostera"));
    const QString option = QDir(dir.path()).filePath(QStringLiteral("other.ini"));
    EXPECT_EQ(Installation::resolveIniPath(option, program), option);

    qputenv("XDG_CONFIG_HOME", QDir(dir.path()).filePath(QStringLiteral("cfg")).toUtf8());
    EXPECT_EQ(Installation::resolveIniPath(QString(), program),
              QDir(dir.path()).filePath(QStringLiteral("cfg/ostera/ostera.ini")));

    QFile beside(QDir(dir.path()).filePath(QStringLiteral("ostera.ini")));
    ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
    beside.close();
    EXPECT_EQ(Installation::resolveIniPath(QString(), program), beside.fileName());
    EXPECT_EQ(Installation::installDirOf(beside.fileName()), dir.path());
    qunsetenv("XDG_CONFIG_HOME");
}

TEST(InstallationTest, DataFilesComeFromTheInstallationFolderFirst)
{
    QTemporaryDir dir;
    resetGlobals();
    gInstallDir = dir.path();
    const QString shared = Installation::dataFile(QStringLiteral("Menu1.txt"));
    EXPECT_TRUE(shared.startsWith(Installation::shareDir()));
    QFile local(QDir(dir.path()).filePath(QStringLiteral("Menu1.txt")));
    ASSERT_TRUE(local.open(QIODevice::WriteOnly));
    local.close();
    EXPECT_EQ(Installation::dataFile(QStringLiteral("Menu1.txt")), local.fileName());
    resetGlobals();
}
