#include "DbTest.h"

#include "DemoData.h"
#include "IniFile.h"
#include "Installation.h"
#include "MasterFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct ProgramRun {
    int status = -1;
    QString out;
    QString err;
};

ProgramRun runProgram(const QStringList &args, const QString &workingDir = QString())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("OSTERA_FIXED_CLOCK"), QStringLiteral("2026/12/08 10:00:00"));
    process.setProcessEnvironment(env);
    if (!workingDir.isEmpty())
        process.setWorkingDirectory(workingDir);
    process.start(QStringLiteral(OSTERA_BINARY), args);
    ProgramRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString iniValue(const QString &ini, const QString &section, const QString &key)
{
    IniFile file;
    file.setFileName(ini);
    file.setSection(section);
    return file.readString(key, QStringLiteral("<none>"));
}

} // namespace

TEST(DemoCommandTest, MakesACompleteInstallationAndRefusesAnExistingOne)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    // A relative folder: the INI must still name absolute output folders.
    const ProgramRun run = runProgram({QStringLiteral("demo"), QStringLiteral("inst")}, tmp.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString dir = QDir(tmp.path()).filePath(QStringLiteral("inst"));
    const QString ini = QDir(dir).filePath(QStringLiteral("ostera.ini"));
    EXPECT_TRUE(run.out.contains(ini)) << run.out.toStdString();

    EXPECT_EQ(iniValue(ini, QStringLiteral("SQLDB"), QStringLiteral("PROVIDER")),
              QStringLiteral("SQLite"));
    EXPECT_EQ(iniValue(ini, QStringLiteral("SQLDB"), QStringLiteral("SERVER_NM")),
              QStringLiteral("ostera.db"));
    EXPECT_EQ(iniValue(ini, QStringLiteral("Zenpan"), QStringLiteral("L_PRINTER")),
              QStringLiteral("PDFファイル"));
    EXPECT_EQ(iniValue(ini, QStringLiteral("Zenpan"), QStringLiteral("USER_NM")),
              QStringLiteral("デモ担当"));
    const QList<QPair<QString, QString>> folders = {
        {QStringLiteral("CarDir"), QStringLiteral("生産C")},
        {QStringLiteral("KakDir"), QStringLiteral("確認版下")},
        {QStringLiteral("HanDir"), QStringLiteral("指示版下")},
        {QStringLiteral("StkDir"), QStringLiteral("ロットシール")},
        {QStringLiteral("ShtDir"), QStringLiteral("ロットシート")},
    };
    for (const auto &[key, name] : folders) {
        const QString folder = iniValue(ini, QStringLiteral("tarvolin"), key);
        EXPECT_EQ(folder, QDir(dir).filePath(QStringLiteral("out/") + name));
        EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    }
    EXPECT_FALSE(QFileInfo(ini).permissions() & QFileDevice::ReadOther);

    const QByteArray orders =
        readFile(QDir(dir).filePath(QStringLiteral("orders/ORDER_20261208.txt")));
    EXPECT_EQ(orders.size(), 300 * 130);
    EXPECT_EQ(orders.mid(3, 6), QByteArray("261208"));
    for (const QString &shared : {QStringLiteral("Menu1.txt"), QStringLiteral("sys_crf")}) {
        const bool inShare = QFileInfo::exists(QDir(Installation::shareDir()).filePath(shared));
        EXPECT_EQ(QFileInfo::exists(QDir(dir).filePath(shared)), inShare) << shared.toStdString();
    }

    {
        ConnectionSettings s;
        s.provider = QStringLiteral("SQLite");
        s.server = QStringLiteral("ostera.db");
        s.baseDir = dir;
        Db db(s);
        db.open();
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM MST_CAR")).toInt(), 12);
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM SYS_TUKI WHERE NEN = '2026' AND "
                                           "TUKI = '12' AND KAKUTEI_FLG = '0'"))
                      .toInt(),
                  1);
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER")).toInt(), 0);
    }

    // The installation works with the batch commands.
    const ProgramRun dump = runProgram({QStringLiteral("masters"), QStringLiteral("dump"),
                                        QDir(tmp.path()).filePath(QStringLiteral("dump")),
                                        QStringLiteral("--ini"), ini});
    EXPECT_EQ(dump.status, 0) << dump.err.toStdString();

    const QByteArray iniBefore = readFile(ini);
    const ProgramRun again = runProgram({QStringLiteral("demo"), dir});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("既にインストールがあります")))
        << again.err.toStdString();
    EXPECT_EQ(readFile(ini), iniBefore);

    EXPECT_EQ(runProgram({QStringLiteral("demo")}).status, 2);
}

class FoundationCommandsTest : public DbTest {
protected:
    // An installation of its own whose database has no tables yet: another SQLite file, or
    // another schema on the test server.
    QString freshIni()
    {
        const QString folder = path(QStringLiteral("fresh"));
        QDir().mkpath(folder);
        const QString ini = QDir(folder).filePath(QStringLiteral("ostera.ini"));
        IniFile file;
        file.setFileName(ini);
        file.setSection(QStringLiteral("SQLDB"));
        file.writeString(QStringLiteral("PROVIDER"), settings().provider);
        file.writeString(QStringLiteral("SERVER_NM"),
                         isPostgreSQL() ? settings().server : QStringLiteral("fresh.db"));
        file.writeString(QStringLiteral("DB_NM"), settings().database);
        file.writeString(QStringLiteral("DBUSER_NM"), settings().user);
        file.writeString(QStringLiteral("PASSWORD"), settings().password);
        if (isPostgreSQL()) {
            m_freshSchema = settings().schema + QStringLiteral("_fresh");
            file.writeString(QStringLiteral("SCHEMA"), m_freshSchema);
        }
        m_fresh = settings();
        m_fresh.server = isPostgreSQL() ? settings().server : QStringLiteral("fresh.db");
        m_fresh.schema = m_freshSchema;
        m_fresh.baseDir = folder;
        return ini;
    }

    void TearDown() override
    {
        if (!m_freshSchema.isEmpty()) {
            db().exec(QStringLiteral("DROP SCHEMA IF EXISTS \"%1\" CASCADE").arg(m_freshSchema));
        }
        DbTest::TearDown();
    }

    ConnectionSettings m_fresh;
    QString m_freshSchema;
};
INSTANTIATE_ENGINES(FoundationCommandsTest);

TEST_P(FoundationCommandsTest, InitDbDemoCreatesTablesMastersAndTheOpenMonth)
{
    const QString ini = freshIni();
    const ProgramRun run = runProgram(
        {QStringLiteral("init-db"), QStringLiteral("--demo"), QStringLiteral("--ini"), ini});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("2026年12月"))) << run.err.toStdString();
    {
        Db fresh(m_fresh);
        fresh.open();
        const QByteArray qualities =
            readFile(QDir(DemoData::mastersDir()).filePath(QStringLiteral("MST_QUL.csv")));
        EXPECT_EQ(fresh.scalar(QStringLiteral("SELECT COUNT(*) FROM MST_QUL")).toInt(),
                  qualities.count('\n') - 1);
        EXPECT_EQ(
            fresh
                .scalar(QStringLiteral("SELECT COUNT(*) FROM SYS_TUKI WHERE KAKUTEI_FLG = '0' "
                                       "AND NEN = '2026' AND TUKI = '12'"))
                .toInt(),
            1);
    }
    const ProgramRun again = runProgram(
        {QStringLiteral("init-db"), QStringLiteral("--demo"), QStringLiteral("--ini"), ini});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("テーブルは既に作成されています。")))
        << again.err.toStdString();
}

TEST_P(FoundationCommandsTest, MastersDumpAndLoadThroughTheBatchCommand)
{
    DemoData::loadMasters(db());
    const QString folder = path(QStringLiteral("masters"));
    const Run dump = runOstera({QStringLiteral("masters"), QStringLiteral("dump"), folder});
    ASSERT_EQ(dump.status, 0) << dump.err.toStdString();
    EXPECT_TRUE(dump.out.contains(QStringLiteral("MST_CAR\t12\n"))) << dump.out.toStdString();
    // The log holds one progress line for the step, not one per tenth and the last one twice.
    const QStringList steps =
        dump.err.split(QLatin1Char('\n')).filter(QStringLiteral("マスタ書出し"));
    EXPECT_EQ(steps.size(), 1) << dump.err.toStdString();
    EXPECT_EQ(readFile(QDir(folder).filePath(QStringLiteral("MST_EHJ.csv"))),
              readFile(QDir(DemoData::mastersDir()).filePath(QStringLiteral("MST_EHJ.csv"))));

    // A bad line: named, nothing changed.
    QFile brand(QDir(folder).filePath(QStringLiteral("MST_BRAND.csv")));
    ASSERT_TRUE(brand.open(QIODevice::Append));
    brand.write("NEWBR,新ブランド\nOSTERA,重複\n");
    brand.close();
    const Run bad = runOstera({QStringLiteral("masters"), QStringLiteral("load"), folder});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("MST_BRAND.csv の 9 行目")))
        << bad.err.toStdString();
    EXPECT_EQ(count(QStringLiteral("MST_BRAND")), 6);

    // Corrected, the load replaces the table.
    QByteArray text = readFile(brand.fileName());
    text.replace("OSTERA,重複\n", "");
    ASSERT_TRUE(brand.open(QIODevice::WriteOnly | QIODevice::Truncate));
    brand.write(text);
    brand.close();
    const Run good = runOstera({QStringLiteral("masters"), QStringLiteral("load"), folder});
    EXPECT_EQ(good.status, 0) << good.err.toStdString();
    EXPECT_EQ(count(QStringLiteral("MST_BRAND")), 7);
    EXPECT_EQ(count(QStringLiteral("MST_BRAND"), QStringLiteral("BR_NM = '新ブランド'")), 1);

    EXPECT_EQ(runOstera({QStringLiteral("masters"), QStringLiteral("frob"), folder}).status, 2);
    EXPECT_EQ(runOstera({QStringLiteral("masters"), QStringLiteral("load")}).status, 2);
}

TEST_P(FoundationCommandsTest, StatusTellsAHealthyInstallationFromOneThatNeedsWork)
{
    db().exec(
        QStringLiteral("INSERT INTO SYS_TUKI(NEN, TUKI, KAKUTEI_FLG) VALUES('2026', '12', '0')"));
    const Run healthy = runOstera({QStringLiteral("status")});
    EXPECT_EQ(healthy.status, 0) << healthy.err.toStdString() << healthy.out.toStdString();
    EXPECT_TRUE(healthy.out.contains(settings().provider)) << healthy.out.toStdString();
    EXPECT_TRUE(healthy.out.contains(QStringLiteral("2026/12"))) << healthy.out.toStdString();

    // A database an older version made: status says so and what to run.
    db().exec(QStringLiteral("DROP TABLE TBL_ORDER_LOG"));
    const Run old = runOstera({QStringLiteral("status")});
    EXPECT_EQ(old.status, 1);
    EXPECT_TRUE(old.out.contains(QStringLiteral("TBL_ORDER_LOG"))) << old.out.toStdString();
    EXPECT_TRUE(old.err.contains(QStringLiteral("upgrade-db"))) << old.err.toStdString();
    EXPECT_EQ(runOstera({QStringLiteral("upgrade-db")}).status, 0);
    EXPECT_EQ(runOstera({QStringLiteral("status")}).status, 0);
}
