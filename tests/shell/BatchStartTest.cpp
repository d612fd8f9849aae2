// The batch program's start: init-db, bad settings and usage, as an operator meets them.
#include "DbTest.h"

#include "Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {
struct Result {
    int status;
    QString err;
};

Result runWithIni(const QString &iniText, const QStringList &args, QTemporaryDir &dir)
{
    const QString ini = QDir(dir.path()).filePath(QStringLiteral("ostera.ini"));
    QFile f(ini);
    f.open(QIODevice::WriteOnly);
    f.write(iniText.toUtf8());
    f.close();
    QProcess p;
    p.start(QStringLiteral(OSTERA_BINARY), QStringList(args) << QStringLiteral("--ini") << ini);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}
} // namespace

TEST(BatchStartTest, InitDbCreatesASqliteDatabaseOnceAndRefusesTheSecondTime)
{
    QTemporaryDir dir;
    const QString ini = QStringLiteral("[SQLDB]\nPROVIDER=SQLite\nSERVER_NM=ostera.db\n");
    Result first = runWithIni(ini, {QStringLiteral("init-db")}, dir);
    EXPECT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("ostera.db"))));
    Result second = runWithIni(ini, {QStringLiteral("init-db")}, dir);
    EXPECT_EQ(second.status, 1);
    EXPECT_TRUE(second.err.contains(QStringLiteral("テーブルは既に作成されています。")));
}

TEST(BatchStartTest, BadSettingsGiveTheirMessagesAndExitOne)
{
    QTemporaryDir dir;
    // A database file that does not exist is refused, not created empty.
    Result missing = runWithIni(QStringLiteral("[SQLDB]\nPROVIDER=SQLite\nSERVER_NM=none.db\n"),
                                {QStringLiteral("errors"), QStringLiteral("20261208")}, dir);
    if (missing.status != 2) { // the command exists once the intake is built
        EXPECT_EQ(missing.status, 1);
        EXPECT_TRUE(missing.err.contains(QStringLiteral("dbOpen"))) << missing.err.toStdString();
        EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("none.db"))));
    }
    Result provider = runWithIni(QStringLiteral("[SQLDB]\nPROVIDER=SQLOLEDB\n"),
                                 {QStringLiteral("init-db")}, dir);
    EXPECT_EQ(provider.status, 1);
    EXPECT_TRUE(provider.err.contains(QStringLiteral("(3706)"))) << provider.err.toStdString();
    Result unreachable = runWithIni(QStringLiteral("[SQLDB]\nPROVIDER=PostgreSQL\nSERVER_NM=127.0."
                                                   "0.1:1\nDB_NM=x\nDBUSER_NM=u\nTIMEOUT=2\n"),
                                    {QStringLiteral("init-db")}, dir);
    EXPECT_EQ(unreachable.status, 1);
    EXPECT_FALSE(unreachable.err.isEmpty());
}

TEST(BatchStartTest, AMissingIniOrAnUnsetDatabaseIsSaidAsSuch)
{
    QTemporaryDir dir;
    // A mistyped --ini is named, not read as an installation without a provider.
    const QString typo = QDir(dir.path()).filePath(QStringLiteral("osetra.ini"));
    QProcess p;
    p.start(QStringLiteral(OSTERA_BINARY),
            {QStringLiteral("errors"), QStringLiteral("20261208"), QStringLiteral("--ini"), typo});
    p.waitForFinished(60000);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("設定ファイルがありません。"))) << err.toStdString();
    EXPECT_TRUE(err.contains(typo)) << err.toStdString();
    EXPECT_FALSE(QFile::exists(typo));

    const Result unset = runWithIni(QStringLiteral("[Zenpan]\nUSER_NM=山田\n"),
                                    {QStringLiteral("errors"), QStringLiteral("20261208")}, dir);
    EXPECT_EQ(unset.status, 1);
    EXPECT_TRUE(unset.err.contains(QStringLiteral("データベースが設定されていません。")))
        << unset.err.toStdString();
}

TEST(BatchStartTest, UsageErrorsExitTwo)
{
    QTemporaryDir dir;
    EXPECT_EQ(runWithIni(QString(), {QStringLiteral("no-such-command")}, dir).status, 2);
    EXPECT_EQ(
        runWithIni(QString(), {QStringLiteral("init-db"), QStringLiteral("extra")}, dir).status, 2);
    QProcess help;
    help.start(QStringLiteral(OSTERA_BINARY), {QStringLiteral("--help")});
    help.waitForFinished(30000);
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(
        QString::fromUtf8(help.readAllStandardOutput()).contains(QStringLiteral("init-db")));
}

class InitDbOnServerTest : public DbTest {};
INSTANTIATE_ENGINES(InitDbOnServerTest);

TEST_P(InitDbOnServerTest, RefusesADatabaseThatHasTheTablesAndChangesNothing)
{
    db().exec(QStringLiteral("INSERT INTO MST_ROW(ROW) VALUES('01')"));
    const Run run = runOstera({QStringLiteral("init-db")});
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("テーブルは既に作成されています。")));
    EXPECT_EQ(count(QStringLiteral("MST_ROW")), 1);
}

namespace {
QStringList rowOrder(Db &db)
{
    QStringList rows;
    for (const QSqlRecord &r : db.rows(QStringLiteral("SELECT ROW FROM MST_ROW ORDER BY ROW")))
        rows << r.value(0).toString();
    return rows;
}
} // namespace

// An administrator's database of any collation: the tables sort text by code point, as the
// output files and lists expect, and an installation made before is put right by upgrade-db.
TEST_P(InitDbOnServerTest, TextSortsByCodePointWhateverTheDatabaseCollation)
{
    const QStringList codePointOrder = {QStringLiteral("B"), QStringLiteral("a"),
                                        QStringLiteral("亜"), QStringLiteral("ｱ")};
    const auto fill = [](Db &target) {
        for (const QString &row :
             {QStringLiteral("ｱ"), QStringLiteral("a"), QStringLiteral("亜"), QStringLiteral("B")})
            target.exec(QStringLiteral("INSERT INTO MST_ROW(ROW) VALUES(:r)"),
                        {{QStringLiteral("r"), row}});
    };
    if (!isPostgreSQL()) {
        fill(db());
        EXPECT_EQ(rowOrder(db()), codePointOrder);
        EXPECT_TRUE(Schema::collateTextColumns(db()).isEmpty());
        EXPECT_TRUE(Schema::widenColumns(db()).isEmpty());
        return;
    }
    // A database whose own order puts 'a' before 'B' (ICU, as a ja_JP or en_US one would).
    ConnectionSettings admin = settings();
    admin.schema.clear();
    const QString name =
        QStringLiteral("ostera_collation_%1").arg(QCoreApplication::applicationPid());
    Db server(admin);
    server.open();
    server.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + name);
    server.exec(QStringLiteral("CREATE DATABASE ") + name +
                QStringLiteral(" TEMPLATE template0 LOCALE_PROVIDER icu ICU_LOCALE 'en' "
                               "LC_COLLATE 'C' LC_CTYPE 'C'"));
    {
        ConnectionSettings other = admin;
        other.database = name;
        Db shop(other);
        shop.open();
        ASSERT_TRUE(shop.scalar(QStringLiteral("SELECT 'a' < 'B'")).toBool());
        QString message;
        ASSERT_EQ(Schema::create(shop, &message), Outcome::Done) << message.toStdString();
        fill(shop);
        EXPECT_EQ(rowOrder(shop), codePointOrder);
        EXPECT_TRUE(Schema::collateTextColumns(shop).isEmpty());

        // As an older version made it: the column in the database's order.
        shop.exec(
            QStringLiteral("ALTER TABLE MST_ROW ALTER COLUMN ROW TYPE TEXT COLLATE \"default\""));
        ASSERT_NE(rowOrder(shop), codePointOrder);
        EXPECT_EQ(Schema::textColumnsOutsideC(shop), 1);
        EXPECT_EQ(Schema::collateTextColumns(shop), QStringList{QStringLiteral("MST_ROW.ROW")});
        EXPECT_EQ(rowOrder(shop), codePointOrder);
        EXPECT_EQ(Schema::textColumnsOutsideC(shop), 0);

        // Lot totals of an older installation in 32 bits are widened, and only they.
        shop.exec(QStringLiteral("ALTER TABLE TBL_ORDER ALTER COLUMN LOT_SU TYPE INTEGER"));
        EXPECT_EQ(Schema::widenColumns(shop), QStringList{QStringLiteral("TBL_ORDER.LOT_SU")});
        EXPECT_TRUE(Schema::widenColumns(shop).isEmpty());
    }
    server.exec(QStringLiteral("DROP DATABASE ") + name);
}
