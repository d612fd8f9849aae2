// `ostera migrate` from a folder of table exports (and through ODBC), on both engines: every
// format the existing system's tools write, the conversions, the refusals, the counters and the
// registers, and a migration that dies half-way.
#include "DbTest.h"
#include "ExportFiles.h"

#include "ControlNumbers.h"
#include "DbConnection.h"
#include "MigrationRun.h"
#include "MigrationSource.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlRecord>

using namespace ExportFiles;

class MigrationTest : public DbTest {
protected:
    QString folder() const { return path(QStringLiteral("export")); }
    QString file(const QString &name) const { return folder() + QLatin1Char('/') + name; }

    MigrationReport migrate(bool dryRun = false)
    {
        QString problem;
        const auto source = MigrationSource::fromArgument(folder(), &problem);
        EXPECT_TRUE(source) << problem.toStdString();
        if (!source)
            return {};
        return MigrationRun(db(), progress).run(*source, dryRun);
    }

    QString text(const QString &sql) { return db().scalar(sql).toString(); }

    const MigrationReport::Table *table(const MigrationReport &report, const QString &name)
    {
        for (const MigrationReport::Table &t : report.tables)
            if (t.name == name)
                return &t;
        return nullptr;
    }

    int rowsInCarriedTables()
    {
        int rows = 0;
        for (const QString &t : CarriedTables::all())
            rows += count(t);
        return rows;
    }

    // The registers of one open month and one day, enough for order lines of that day.
    void writeRegisters(const QString &day = QStringLiteral("20261208"))
    {
        write(file(QStringLiteral("SYS_TUKI.txt")), bcpCharacter({{"2026", "12", "0"}}));
        write(file(QStringLiteral("SYS_IMPDATE.txt")), bcpCharacter({{day, "0"}}));
    }
};
INSTANTIATE_ENGINES(MigrationTest);

TEST_P(MigrationTest, EveryExportFormatLoadsWithItsValuesAsTheDeskKeepsThem)
{
    // bcp -c with a plain format file; the month is a char(2) column.
    write(file(QStringLiteral("SYS_TUKI.dat")),
          bcpCharacter({{"2026", "11", "1"}, {"2026", "12", "0"}}));
    write(file(QStringLiteral("SYS_TUKI.fmt")),
          "14.0\r\n3\r\n"
          "1       SQLCHAR             0       4       \"\\t\"     1     NEN              "
          "Japanese_CI_AS\r\n"
          "2       SQLCHAR             0       2       \"\\t\"     2     TUKI             "
          "Japanese_CI_AS\r\n"
          "3       SQLCHAR             0       1       \"\\r\\n\"   3     KAKUTEI_FLG      "
          "Japanese_CI_AS\r\n");
    // bcp -w with an XML format file whose second field loads no column.
    write(file(QStringLiteral("SYS_IMPDATE.bcp")),
          bcpWide({{"20261207", "旧", "1"}, {"20261208", "旧", "0"}}));
    write(file(QStringLiteral("SYS_IMPDATE.fmt")),
          "<?xml version=\"1.0\"?>\r\n"
          "<BCPFORMAT xmlns=\"http://schemas.microsoft.com/sqlserver/2004/bulkload/format\" "
          "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\r\n"
          " <RECORD>\r\n"
          "  <FIELD ID=\"1\" xsi:type=\"NCharTerm\" TERMINATOR=\"\\t\\0\" MAX_LENGTH=\"16\"/>\r\n"
          "  <FIELD ID=\"2\" xsi:type=\"NCharTerm\" TERMINATOR=\"\\t\\0\" MAX_LENGTH=\"20\"/>\r\n"
          "  <FIELD ID=\"3\" xsi:type=\"NCharTerm\" TERMINATOR=\"\\r\\0\\n\\0\" "
          "MAX_LENGTH=\"2\"/>\r\n"
          " </RECORD>\r\n"
          " <ROW>\r\n"
          "  <COLUMN SOURCE=\"1\" NAME=\"IMP_DATE\" xsi:type=\"SQLCHAR\"/>\r\n"
          "  <COLUMN SOURCE=\"3\" NAME=\"KAKUTEI_FLG\" xsi:type=\"SQLCHAR\"/>\r\n"
          " </ROW>\r\n"
          "</BCPFORMAT>\r\n");
    // bcp -c without header or format file: the columns in the existing system's order, char
    // columns padded, datetime columns as bcp writes them, '' as NUL.
    write(file(QStringLiteral("TBL_ORDER.txt")),
          bcpCharacter({rowOf(QStringLiteral("TBL_ORDER"), {{"IMP_DATE", "20261207"},
                                                            {"IMP_LN", "1"},
                                                            {"KNR_NO", "DL-007    "},
                                                            {"LOT_NO", "5C0012    "},
                                                            {"FC_RG", "DL  "},
                                                            {"FC_NM", "大連新星服飾有限公司"},
                                                            {"ORD_DATE", "2026-12-01 00:00:00.000"},
                                                            {"SET_DATE", "2026-12-10 00:00:00.000"},
                                                            {"SU", "12"},
                                                            {"LOT_SU", "36.00"},
                                                            {"SEIZOUMOTO", "株式会社　オステラ"},
                                                            {"FLG4", "1"},
                                                            {"B2", "2026-12-07 17:30:05.000"}})}));
    // The wizard's CSV in CP932: a finding with a comma inside quotes.
    write(file(QStringLiteral("TBL_ERR.csv")),
          csvCp932({"IMP_DATE,IMP_LN,ERR_LN,ERR1,ERR2,ERR3",
                    "20261207,1,1,DL-007,\"品質キー未登録,要確認\",Q-1"}));
    // The wizard's CSV in UTF-8 with BOM: a column the desk does not have, and an address
    // with quotes and a line end inside the value.
    write(file(QStringLiteral("MST_FACTORY.csv")),
          csvUtf8({"FC_RG,FC_CD,FC_NM,FC_KANA,ADRESS1,TIME_STAMP",
                   "DL,C21008,大連新星服飾有限公司,ダイレン,\"遼寧省大連市\r\n金州区 "
                   "\"\"友誼街\"\"15号\",2026/10/13 10:30:00"},
                  true));
    // UTF-8 without BOM: money and decimal numbers for the desk's price and integers.
    write(file(QStringLiteral("MST_CAR.csv")),
          csvUtf8({"CAR_CD,PRICE,SHO_NM1,SPARE_SU0,TIME_STAMP",
                   "N01,120.5000,品質表示ラベル,10.00,2026-10-13 10:30:00.000"},
                  false));
    // bcp -w without a format file: found by its bytes, read in the existing system's order.
    write(file(QStringLiteral("MST_BRAND.txt")),
          bcpWide({{"OSBLUE", "オステラ ブルーレーベル"}, {"OSRED", ""}}));
    // A read-only master without header: the two columns the desk reads.
    write(file(QStringLiteral("MST_SIZ.txt")), bcpCharacter({{"A1M01", ""}, {"A1M02", "H-12"}}));
    write(file(QStringLiteral("WRK_ORDER.txt")), bcpCharacter({{"not", "carried"}}));

    const MigrationReport report = migrate();
    ASSERT_EQ(report.outcome, MigrationReport::Outcome::Migrated) << report.text().toStdString();

    EXPECT_EQ(table(report, "SYS_TUKI")->format, "bcp 文字形式（ASCII、タブ区切り、見出しなし）");
    EXPECT_EQ(table(report, "SYS_TUKI")->columnsFrom, "書式ファイル SYS_TUKI.fmt");
    EXPECT_EQ(table(report, "SYS_IMPDATE")->format, "bcp -w（UTF-16、タブ区切り、見出しなし）");
    EXPECT_EQ(table(report, "MST_BRAND")->format, "bcp -w（UTF-16、タブ区切り、見出しなし）");
    EXPECT_EQ(table(report, "TBL_ORDER")->format, "bcp 文字形式（CP932、タブ区切り、見出しなし）");
    EXPECT_EQ(table(report, "TBL_ORDER")->columnsFrom, "既定の列順");
    EXPECT_EQ(table(report, "TBL_ERR")->format, "CSV（CP932、見出しあり）");
    EXPECT_EQ(table(report, "MST_FACTORY")->format, "CSV（UTF-8 BOM付き、見出しあり）");
    EXPECT_EQ(table(report, "MST_CAR")->format, "CSV（UTF-8、見出しあり）");
    EXPECT_EQ(table(report, "MST_FACTORY")->skippedColumns, QStringList{"FC_KANA"});
    EXPECT_TRUE(report.ignored.contains("WRK_ORDER.txt"));
    EXPECT_EQ(count("WRK_ORDER"), 0);

    EXPECT_EQ(text("SELECT NEN || TUKI || KAKUTEI_FLG FROM SYS_TUKI WHERE KAKUTEI_FLG = '0'"),
              "2026120");
    EXPECT_EQ(text("SELECT KAKUTEI_FLG FROM SYS_IMPDATE WHERE IMP_DATE = '20261207'"), "1");
    EXPECT_EQ(count("SYS_IMPDATE"), 2);

    const QSqlRecord line = db().rows("SELECT * FROM TBL_ORDER").value(0);
    EXPECT_EQ(line.value("KNR_NO").toString(), "DL-007");
    EXPECT_EQ(line.value("LOT_NO").toString(), "5C0012");
    EXPECT_EQ(line.value("FC_RG").toString(), "DL");
    EXPECT_EQ(line.value("FC_NM").toString(), "大連新星服飾有限公司");
    EXPECT_EQ(line.value("ORD_DATE").toString(), "2026/12/01");
    EXPECT_EQ(line.value("SET_DATE").toString(), "2026/12/10");
    EXPECT_EQ(line.value("B2").toString(), "2026/12/07 17:30:05");
    EXPECT_EQ(line.value("SU").toInt(), 12);
    EXPECT_EQ(line.value("LOT_SU").toInt(), 36);
    EXPECT_EQ(line.value("ORD_NO").toString(), "");
    EXPECT_EQ(line.value("SEIZOUMOTO").toString(), "株式会社　オステラ");
    EXPECT_EQ(line.value("FLG4").toString(), "1");

    EXPECT_EQ(text("SELECT ERR2 FROM TBL_ERR"), "品質キー未登録,要確認");
    EXPECT_EQ(text("SELECT ADRESS1 FROM MST_FACTORY"), "遼寧省大連市\r\n金州区 \"友誼街\"15号");
    EXPECT_EQ(text("SELECT TIME_STAMP FROM MST_FACTORY"), "2026/10/13 10:30:00");
    EXPECT_DOUBLE_EQ(db().scalar("SELECT PRICE FROM MST_CAR").toDouble(), 120.5);
    EXPECT_EQ(db().scalar("SELECT SPARE_SU0 FROM MST_CAR").toInt(), 10);
    EXPECT_EQ(text("SELECT TIME_STAMP FROM MST_CAR"), "2026/10/13 10:30:00");
    EXPECT_EQ(text("SELECT BR_NM FROM MST_BRAND WHERE BR_CD = 'OSBLUE'"),
              "オステラ ブルーレーベル");
    EXPECT_EQ(text("SELECT BR_NM FROM MST_BRAND WHERE BR_CD = 'OSRED'"), "");
    EXPECT_EQ(text("SELECT HAN_NO FROM MST_SIZ WHERE SIZE_KEY = 'A1M02'"), "H-12");
    EXPECT_EQ(count("MST_SIZ"), 2);
}

TEST_P(MigrationTest, ValuesThatCannotBeConvertedRefuseTheMigrationNamingTableRowAndColumn)
{
    writeRegisters();
    write(file(QStringLiteral("MST_BRAND.csv")),
          csvUtf8({"BR_CD,BR_NM", "OS,オステラ", "YS,𠮷野"}, true));
    write(file(QStringLiteral("MST_QULPLATE.csv")),
          csvUtf8({"QUL_KEY,SU", "Q1,3", "Q2,99999999999"}, false));
    write(file(QStringLiteral("MST_ROW.csv")),
          csvUtf8({"ROW", QStringLiteral("R") + QChar(u'\0') + QStringLiteral("1")}, false));
    write(file(QStringLiteral("MST_COL.txt")),
          bcpCharacter({{"T1", "F1", "WH"}, {"T1", "F2", "BK"}, {"T1 ", "F1", "RD"}}));
    // Three columns where the existing system's order has two, and nothing to name them.
    write(file(QStringLiteral("MST_PRINTER.txt")), bcpCharacter({{"TT-300", "1", "熱転写"}}));
    write(file(QStringLiteral("TBL_ORDER.txt")),
          bcpCharacter({rowOf("TBL_ORDER", {{"IMP_DATE", "20261208"}, {"IMP_LN", "1"}})}));

    const MigrationReport report = migrate();
    ASSERT_EQ(report.outcome, MigrationReport::Outcome::Refused);
    const QString all = report.refusals().join('\n');
    EXPECT_TRUE(
        all.contains("MST_BRAND の 3 行目: 列 BR_NM: CP932 で表せない文字「𠮷」があります。"))
        << all.toStdString();
    EXPECT_TRUE(all.contains("MST_QULPLATE の 3 行目: 列 SU: 数値が大きすぎます"))
        << all.toStdString();
    EXPECT_TRUE(all.contains("MST_ROW の 2 行目: 列 ROW: NUL文字が含まれています。"))
        << all.toStdString();
    // The padding of the third row's key is the existing system's, not a key of its own.
    EXPECT_TRUE(all.contains("MST_COL の 3 行目: キーが重複しています（1 行目と同じ T1,F1）。"))
        << all.toStdString();
    EXPECT_TRUE(
        all.contains("MST_PRINTER: MST_PRINTER.txt: 見出し行も書式ファイル（MST_PRINTER.fmt）"
                     "もなく、列の数（3）が既定の列順（2 列）と合いません。"))
        << all.toStdString();
    EXPECT_EQ(table(report, "MST_BRAND")->refused, 1);
    EXPECT_EQ(table(report, "MST_BRAND")->read, 2);
    // Nothing of the good rows either: the target is as init-db left it.
    EXPECT_EQ(rowsInCarriedTables(), 0);
}

TEST_P(MigrationTest, CountersBehindTheHistoryAreRaisedSoTheNextImportGoesOn)
{
    write(file(QStringLiteral("SYS_TUKI.txt")),
          bcpCharacter({{"2026", "11", "1"}, {"2026", "12", "0"}}));
    write(file(QStringLiteral("SYS_IMPDATE.txt")),
          bcpCharacter({{"20261130", "1"}, {"20261201", "0"}}));
    // The counter of December's AB is behind its lines; November's is ahead of them; CD has
    // numbered lines in December without a counter.
    write(file(QStringLiteral("SYS_KNR_NO.txt")),
          bcpCharacter({{"2026", "12", "AB  ", "5"}, {"2026", "11", "AB  ", "1200"}}));
    auto line = [](const char *day, const char *ln, const char *fc, const char *knr) {
        return rowOf("TBL_ORDER",
                     {{"IMP_DATE", day}, {"IMP_LN", ln}, {"FC_RG", fc}, {"KNR_NO", knr}});
    };
    write(file(QStringLiteral("TBL_ORDER.txt")),
          bcpCharacter(
              {line("20261130", "1", "AB", "AB-1000"), line("20261201", "1", "AB", "AB-006"),
               line("20261201", "2", "AB", "AB-007"), line("20261201", "3", "CD", "CD-1000")}));

    const MigrationReport report = migrate();
    ASSERT_EQ(report.outcome, MigrationReport::Outcome::Migrated) << report.text().toStdString();
    const QString notes = report.notes.join('\n');
    EXPECT_TRUE(notes.contains("SYS_KNR_NO 2026年12月 AB: 管理No の番号を 5 から 7 に上げました"))
        << notes.toStdString();
    EXPECT_TRUE(
        notes.contains("SYS_KNR_NO 2026年12月 CD: 管理No の番号がないため 1000 で作りました"))
        << notes.toStdString();
    EXPECT_FALSE(notes.contains("11月")) << notes.toStdString();
    EXPECT_EQ(nextControlNumber(db(), "2026", "12", "AB"), 8);
    EXPECT_EQ(nextControlNumber(db(), "2026", "12", "CD"), 1001);
    EXPECT_EQ(nextControlNumber(db(), "2026", "11", "AB"), 1201);
}

TEST_P(MigrationTest, LinesOfUnregisteredDaysAndASecondOpenMonthAreRefused)
{
    write(file(QStringLiteral("SYS_TUKI.txt")),
          bcpCharacter({{"2026", "11", "0"}, {"2026", "12", "0"}}));
    write(file(QStringLiteral("SYS_IMPDATE.txt")), bcpCharacter({{"20261201", "0"}}));
    QList<QStringList> lines;
    for (int ln = 1; ln <= 3; ++ln)
        lines << rowOf("TBL_ORDER", {{"IMP_DATE", ln == 1 ? "20261201" : "20261202"},
                                     {"IMP_LN", QString::number(ln)}});
    write(file(QStringLiteral("TBL_ORDER.txt")), bcpCharacter(lines));

    const MigrationReport report = migrate();
    ASSERT_EQ(report.outcome, MigrationReport::Outcome::Refused);
    const QString all = report.refusals().join('\n');
    EXPECT_TRUE(all.contains(
        "TBL_ORDER の 2 行目ほか 1 行: 処理日 20261202 が SYS_IMPDATE に登録されていません。"))
        << all.toStdString();
    EXPECT_TRUE(
        all.contains("SYS_TUKI: 確定されていない月次業務が二つ以上あります（2026年11月（1 行目）、"
                     "2026年12月（2 行目））。月次業務は一つだけ有効に出来ます。"))
        << all.toStdString();
    EXPECT_EQ(table(report, "TBL_ORDER")->refused, 2);
    EXPECT_EQ(rowsInCarriedTables(), 0);
}

TEST_P(MigrationTest, ADryRunReportsAndWritesNothingAndATargetWithRowsIsRefused)
{
    writeRegisters();
    write(file(QStringLiteral("TBL_ORDER.txt")),
          bcpCharacter({rowOf("TBL_ORDER", {{"IMP_DATE", "20261208"}, {"IMP_LN", "1"}})}));
    const MigrationReport checked = migrate(/*dryRun*/ true);
    EXPECT_EQ(checked.outcome, MigrationReport::Outcome::Checked) << checked.text().toStdString();
    EXPECT_EQ(table(checked, "TBL_ORDER")->loaded, 1);
    EXPECT_EQ(rowsInCarriedTables(), 0);

    db().exec("INSERT INTO MST_ROW(ROW) VALUES('R1')");
    const MigrationReport refused = migrate();
    EXPECT_EQ(refused.outcome, MigrationReport::Outcome::Refused);
    EXPECT_EQ(refused.refusals().value(0).toStdString(),
              "移行先のデータベースが空ではありません（MST_ROW に行があります）。"
              "init-db で作ったばかりのインストールに移行してください。");
    EXPECT_EQ(count("TBL_ORDER"), 0);
}

// The batch command killed at points spread over its load: the target holds all of the
// migration or none of it, and the same command then succeeds.
TEST_P(MigrationTest, AKilledMigrationLeavesTheTargetEmpty)
{
    writeRegisters();
    QList<QStringList> lines;
    constexpr int kLines = 12000;
    for (int ln = 1; ln <= kLines; ++ln)
        lines << rowOf("TBL_ORDER",
                       {{"IMP_DATE", "20261208"},
                        {"IMP_LN", QString::number(ln)},
                        {"FC_RG", "DL"},
                        {"KNR_NO", QStringLiteral("DL-%1").arg(ln / 10 + 1, 3, 10, QChar('0'))},
                        {"FC_NM", "大連新星"}});
    write(file(QStringLiteral("TBL_ORDER.txt")), bcpCharacter(lines));
    session.shutdown();

    auto run = [&](const QString &killAt) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("OSTERA_KILL_AT_STATEMENT", killAt);
        process.setProcessEnvironment(env);
        process.start(OSTERA_BINARY, {"migrate", folder(), "--ini", iniPath()});
        EXPECT_TRUE(process.waitForFinished(120000));
        return std::pair{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                         QString::fromUtf8(process.readAllStandardError())};
    };
    const auto counted = run("count");
    ASSERT_EQ(counted.first, 0) << counted.second.toStdString();
    const int total =
        QRegularExpression("statements: (\\d+)").match(counted.second).captured(1).toInt();
    ASSERT_GT(total, 20);
    // The counting run migrated: start again from an empty installation.
    auto reset = [&] {
        Db admin(settings());
        admin.open();
        for (const QString &t : CarriedTables::all())
            admin.exec("DELETE FROM " + t);
    };
    reset();

    Db check(settings());
    check.open();
    for (int i = 0; i < 5; ++i) {
        // The last third of the run: the load and its commit.
        const int killAt = total * 2 / 3 + (total / 3 - 2) * i / 4;
        const auto killed = run(QString::number(killAt));
        EXPECT_EQ(killed.first, -1) << "statement " << killAt;
        const int lines = check.scalar("SELECT COUNT(*) FROM TBL_ORDER").toInt();
        const int days = check.scalar("SELECT COUNT(*) FROM SYS_IMPDATE").toInt();
        EXPECT_TRUE((lines == 0 && days == 0) || (lines == kLines && days == 1))
            << "killed at statement " << killAt << " of " << total << ": " << lines << " lines, "
            << days << " days";
        if (lines > 0)
            reset();
    }
    const auto again = run(QString());
    EXPECT_EQ(again.first, 0) << again.second.toStdString();
    EXPECT_EQ(check.scalar("SELECT COUNT(*) FROM TBL_ORDER").toInt(), kLines);
}

// The existing system's database through ODBC; here the PostgreSQL driver stands in for SQL
// Server's, with tables shaped like the existing system's: char columns padded, datetime,
// decimal and money columns.
TEST_P(MigrationTest, ReadsTheExistingSystemThroughOdbc)
{
    const ConnectionSettings server = testServerSettings();
    if (server.provider.isEmpty())
        GTEST_SKIP() << "no PostgreSQL server for the ODBC source (OSTERA_TEST_PG)";
    if (!QSqlDatabase::isDriverAvailable("QODBC"))
        FAIL() << "Qt's ODBC driver is missing (scripts/setup installs libqt6sql6-odbc)";
    const QString old =
        QStringLiteral("old_%1_%2").arg(QCoreApplication::applicationPid()).arg(int(engine()));
    Db admin(server);
    admin.open();
    admin.exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(old));
    admin.exec(QStringLiteral("CREATE SCHEMA %1").arg(old));
    // Every carried table, its columns as varchar unless shaped below.
    const QMap<QString, QString> shaped = {
        {"SYS_KNR_NO", "ORD_NEN char(4), ORD_TUKI char(2), FC_RG char(4), KNR_NO numeric(9,0)"},
        {"TBL_ORDER", "IMP_DATE char(8), IMP_LN integer, KNR_NO char(10), FC_RG char(4), "
                      "FC_NM varchar(40), ORD_DATE timestamp, SET_DATE timestamp, SU numeric(9,0), "
                      "FLG4 char(1), B2 timestamp, SEIZOUMOTO char(12)"},
        {"MST_CAR", "CAR_CD char(4), PRICE numeric(19,4), SHO_NM1 varchar(40), SPARE_SU0 integer, "
                    "TIME_STAMP timestamp"},
    };
    for (const QString &t : CarriedTables::all()) {
        QString columns = shaped.value(t);
        if (columns.isEmpty())
            columns = CarriedTables::existingColumnOrder(t).join(" varchar(40), ") + " varchar(40)";
        admin.exec(QStringLiteral("CREATE TABLE %1.%2 (%3)").arg(old, t, columns));
    }
    auto put = [&](const QString &sql) { admin.exec(sql.arg(old)); };
    put("INSERT INTO %1.SYS_TUKI VALUES('2026','12','0')");
    put("INSERT INTO %1.SYS_IMPDATE VALUES('20261207','1')");
    put("INSERT INTO %1.SYS_KNR_NO VALUES('2026','12','DL',3)");
    put("INSERT INTO %1.TBL_ORDER VALUES('20261207',1,'DL-007','DL','大連新星服飾有限公司',"
        "'2026-12-01','2026-12-10 00:00:00',12,'1','2026-12-07 17:30:05','株式会社　オステラ')");
    put("INSERT INTO %1.MST_CAR VALUES('N01',120.5,'品質表示ラベル',10,'2026-10-13 10:30:00')");

    QString connection =
        QStringLiteral("Driver={PostgreSQL Unicode};Server=%1;Port=%2;Database=%3;Uid=%4;Pwd=%5;"
                       "ConnSettings=SET search_path TO %6")
            .arg(server.server.section(':', 0, 0), server.server.section(':', 1, 1),
                 server.database, server.user, server.password, old);
    QString problem;
    const auto source = MigrationSource::fromArgument("odbc:" + connection, &problem);
    ASSERT_TRUE(source) << problem.toStdString();
    const MigrationReport report = MigrationRun(db(), progress).run(*source, false);
    admin.exec(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(old));
    ASSERT_EQ(report.outcome, MigrationReport::Outcome::Migrated) << report.text().toStdString();
    EXPECT_EQ(table(report, "TBL_ORDER")->format, "ODBC");

    const QSqlRecord line = db().rows("SELECT * FROM TBL_ORDER").value(0);
    EXPECT_EQ(line.value("KNR_NO").toString(), "DL-007");
    EXPECT_EQ(line.value("FC_RG").toString(), "DL");
    EXPECT_EQ(line.value("FC_NM").toString(), "大連新星服飾有限公司");
    EXPECT_EQ(line.value("ORD_DATE").toString(), "2026/12/01");
    EXPECT_EQ(line.value("SET_DATE").toString(), "2026/12/10");
    EXPECT_EQ(line.value("B2").toString(), "2026/12/07 17:30:05");
    EXPECT_EQ(line.value("SU").toInt(), 12);
    EXPECT_EQ(line.value("SEIZOUMOTO").toString(), "株式会社　オステラ");
    EXPECT_DOUBLE_EQ(db().scalar("SELECT PRICE FROM MST_CAR").toDouble(), 120.5);
    EXPECT_EQ(text("SELECT TIME_STAMP FROM MST_CAR"), "2026/10/13 10:30:00");
    EXPECT_EQ(nextControlNumber(db(), "2026", "12", "DL"), 8);
}
