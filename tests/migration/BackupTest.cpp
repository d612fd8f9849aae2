// `ostera backup` while another workstation imports, and `ostera restore` of that backup into
// the installation after it was lost.
#include "DbTest.h"
#include "ExportFiles.h"

#include "DatabaseBackup.h"
#include "DbConnection.h"
#include "DemoData.h"
#include "DemoOrderFile.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

class BackupTest : public DbTest {};
INSTANTIATE_ENGINES(BackupTest);

TEST_P(BackupTest, ABackupTakenDuringAnImportRestoresAllOfItOrNone)
{
    DemoData::loadMasters(db());
    DemoData::openBusinessMonth(db(), QDate(2026, 12, 8));
    const int masterRows = count("MST_QUL");
    constexpr int kLines = 30000;
    DemoOrderFile::Options options;
    options.date = QDate(2026, 12, 8);
    options.lines = kLines;
    options.seed = 3;
    const QString orders = path("orders.txt");
    ExportFiles::write(orders, DemoOrderFile::generate(options));
    session.shutdown();

    QProcess import;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    import.setProcessEnvironment(env);
    import.start(OSTERA_BINARY, {"import", orders, "--date", "20261208", "--ini", iniPath()});
    ASSERT_TRUE(import.waitForStarted());
    // Once the import reads its file (its progress line says so), the backup is taken.
    QElapsedTimer waited;
    waited.start();
    QByteArray progressLine;
    while (!progressLine.contains("ファイル取込") && waited.elapsed() < 60000 &&
           import.state() == QProcess::Running) {
        import.waitForReadyRead(50);
        progressLine += import.readAllStandardError();
    }
    const QString backupFile = path("nightly.backup");
    const Run backup = runOstera({"backup", backupFile});
    ASSERT_TRUE(import.waitForFinished(180000));
    EXPECT_EQ(import.exitCode(), 0) << import.readAllStandardError().toStdString();
    ASSERT_EQ(backup.status, 0) << backup.err.toStdString();
    EXPECT_TRUE(backup.err.contains("バックアップしました")) << backup.err.toStdString();
    EXPECT_EQ(runOstera({"backup", backupFile}).status, 1); // never replaces a backup

    // The installation is lost: an empty one in its place, then the backup.
    {
        Db admin(settings());
        admin.open();
        if (isPostgreSQL()) {
            admin.exec(QStringLiteral("DROP SCHEMA \"%1\" CASCADE").arg(settings().schema));
        } else {
            admin.close();
            for (const char *suffix : {"", "-wal", "-shm"})
                QFile::remove(path(QStringLiteral("ostera.db") + suffix));
        }
    }
    const Run restore = runOstera({"restore", backupFile});
    ASSERT_EQ(restore.status, 0) << restore.err.toStdString();
    if (!isPostgreSQL()) {
        EXPECT_EQ(DatabaseBackup::integrityCheck(path("ostera.db")), "ok");
    }

    ASSERT_EQ(session.open(dialogs), Outcome::Done);
    const int lines = count("TBL_ORDER", "IMP_DATE = '20261208'");
    const int registered = count("SYS_IMPDATE", "IMP_DATE = '20261208'");
    EXPECT_TRUE((lines == 0 && registered == 0) || (lines == kLines && registered == 1))
        << lines << " lines, " << registered << " registrations";
    EXPECT_EQ(count("MST_QUL"), masterRows);
    EXPECT_EQ(count("SYS_TUKI", "KAKUTEI_FLG = '0'"), 1);

    // A restore never lands on data.
    const Run again = runOstera({"restore", backupFile});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("復元先のデータベースが空ではありません"))
        << again.err.toStdString();
}
