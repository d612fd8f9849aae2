// A single workstation's SQLite database and the other processes on it (batch commands, a
// second desk): the desk keeps its locks on the database whatever its screens show, an import
// never holds the database while it is still reading its file, and a database another process
// keeps busy is refused in the desk's own words.
#include "DeskFixture.h"

#include "ImportScreen.h"
#include "IniFile.h"
#include "ModalWindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

namespace {

// Whether this process holds a POSIX lock on the file (as /proc/locks lists them).
bool holdsPosixLock(const QString &file)
{
    struct stat info;
    if (::stat(QFile::encodeName(file).constData(), &info) != 0)
        return false;
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QString pid = QString::number(QCoreApplication::applicationPid());
    const QString inode = QLatin1Char(':') + QString::number(info.st_ino);
    for (const QByteArray &line : locks.readAll().split('\n')) {
        // "1: POSIX  ADVISORY  READ 24868 fe:00:10969296 1073741826 1073742335"
        const QStringList fields = QString::fromLatin1(line).simplified().split(QLatin1Char(' '));
        if (fields.size() >= 6 && fields[1] == QLatin1String("POSIX") && fields[4] == pid &&
            fields[5].endsWith(inode))
            return true;
    }
    return false;
}

} // namespace

class SqliteLocksTest : public DeskFixture {
protected:
    QString databaseFile() const { return path(QStringLiteral("ostera.db")); }
};
INSTANTIATE_ENGINES(SqliteLocksTest);

// Seen: with the import screen's file dialog showing the installation folder, the dialog read
// ostera.db, -wal and -shm to learn their types; closing them dropped every lock the desk held,
// and the next batch command deleted the -wal and -shm under the desk's connection.
TEST_P(SqliteLocksTest, BrowsingTheInstallationFolderKeepsTheDatabaseLocked)
{
    const bool sqlite = !isPostgreSQL();
    const auto expectLocked = [&](const char *after) {
        if (!sqlite)
            return;
        EXPECT_TRUE(holdsPosixLock(databaseFile())) << after;
        EXPECT_TRUE(holdsPosixLock(databaseFile() + QStringLiteral("-shm"))) << after;
    };
    if (sqlite) {
        ASSERT_TRUE(QFile::exists(QStringLiteral("/proc/locks")));
    }
    expectLocked("the connection");
    // The desk started from its installation folder: the dialog opens there.
    const QString started = QDir::currentPath();
    QDir::setCurrent(dir());
    ImportScreen screen(session);
    screen.show();
    bool listed = false;
    whenModal<QFileDialog>([&](QFileDialog *dialog) {
        dialog->setDirectory(dir()); // where the operator goes, if the dialog starts elsewhere
        auto *model = dialog->findChild<QFileSystemModel *>();
        if (model) {
            const QModelIndex folder = model->index(dir());
            EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(folder) >= 2; }))
                << "orders/ and out/ listed";
            // What the dialog shows of every file in the folder, the database's included.
            for (const QString &name : QDir(dir()).entryList(QDir::Files)) {
                const QModelIndex entry = model->index(path(name));
                model->data(entry, Qt::DecorationRole);
                model->type(entry);
            }
            listed = true;
        }
        dialog->reject();
    });
    screen.browseButton->click();
    QDir::setCurrent(started);
    EXPECT_TRUE(listed);
    expectLocked("the file dialog");
    // Nor is the database read when it is chosen as the order file.
    if (sqlite) {
        for (const QString &file : {databaseFile(), databaseFile() + QStringLiteral("-shm")}) {
            dialogs.clear();
            screen.fileEdit->setText(file);
            screen.okButton->click();
            EXPECT_EQ(dialogs.messages(),
                      QStringList({QStringLiteral("ファイルを開けません: ") + file,
                                   QStringLiteral("エラー終了しました。")}));
        }
    }
    expectLocked("the database chosen as the order file");

    // Another process works on the database and ends while the desk stays open.
    const ProgramRun imported =
        ostera({QStringLiteral("import"), writeOrderFile(QStringLiteral("20261209"), 20, 3),
                QStringLiteral("--date"), QStringLiteral("20261209")});
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    if (sqlite) {
        EXPECT_TRUE(QFile::exists(databaseFile() + QStringLiteral("-wal")));
    }
    // The desk sees what it wrote, and it sees what the desk writes.
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER"), QStringLiteral("IMP_DATE = '20261209'")), 20);
    db().exec(
        QStringLiteral("INSERT INTO SYS_IMPDATE(IMP_DATE, KAKUTEI_FLG) VALUES('20261210', '0')"));
    const ProgramRun refused =
        ostera({QStringLiteral("import"), writeOrderFile(QStringLiteral("20261210"), 5, 4),
                QStringLiteral("--date"), QStringLiteral("20261210")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("(20261210)は既に読み込まれています。")))
        << refused.err.toStdString();
}

// Seen: an import from a FIFO (or a share that stalled) held the database while it waited for
// the file, and every other command failed with "database is locked(5)".
TEST_P(SqliteLocksTest, AnOrderFileStillArrivingHoldsNoLock)
{
    QFile whole(writeOrderFile(QStringLiteral("20261208"), 20, 5));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray records = whole.readAll();
    const QString fifo = path(QStringLiteral("orders/arriving.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    ProgramRun arriving;
    std::thread importer([&] {
        arriving = ostera(
            {QStringLiteral("import"), fifo, QStringLiteral("--date"), QStringLiteral("20261208")});
    });
    // A writer opens the FIFO without waiting once the import has it open for reading.
    int writer = -1;
    for (int attempt = 0; attempt < 6000 && writer < 0; ++attempt) {
        writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (writer < 0)
            QThread::msleep(10);
    }
    if (writer < 0) // the import never came to its file: let it end instead of waiting on
        writer = ::open(QFile::encodeName(fifo).constData(), O_RDWR);
    const qsizetype half = records.size() / 2;
    const bool wroteHalf = ::write(writer, records.constData(), size_t(half)) == half;

    // While the file is still arriving, another workstation imports a day of its own.
    const ProgramRun meanwhile =
        ostera({QStringLiteral("import"), writeOrderFile(QStringLiteral("20261209"), 10, 6),
                QStringLiteral("--date"), QStringLiteral("20261209")},
               {}, 60000);

    ::fcntl(writer, F_SETFL, ::fcntl(writer, F_GETFL) & ~O_NONBLOCK);
    const bool wroteRest = ::write(writer, records.constData() + half,
                                   size_t(records.size() - half)) == records.size() - half;
    ::close(writer);
    importer.join();
    ASSERT_TRUE(wroteHalf && wroteRest);
    EXPECT_EQ(meanwhile.status, 0) << meanwhile.err.toStdString();
    EXPECT_EQ(arriving.status, 0) << arriving.err.toStdString();
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER"), QStringLiteral("IMP_DATE = '20261208'")), 20);
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER"), QStringLiteral("IMP_DATE = '20261209'")), 10);
}

// Seen: a command refused because another held the write lock said only "database is
// locked(5)".
TEST_P(SqliteLocksTest, ABusyDatabaseSaysAnotherWorkstationIsAtWork)
{
    if (isPostgreSQL())
        GTEST_SKIP() << "the busy time-out is SQLite's";
    IniFile ini;
    ini.setFileName(iniPath());
    ini.setSection(QStringLiteral("SQLDB"));
    ASSERT_TRUE(ini.writeString(QStringLiteral("TIMEOUT"), QStringLiteral("1")));
    db().exec(QStringLiteral("PRAGMA busy_timeout=100"));

    auto other = openSecond();
    other->begin();
    try {
        Transaction refused(db());
        ADD_FAILURE() << "the second writer was let in";
    } catch (const DbError &e) {
        EXPECT_EQ(e.describe(), QStringLiteral("他の端末で処理中です。(5)"));
    }
    const ProgramRun command =
        ostera({QStringLiteral("import"), writeOrderFile(QStringLiteral("20261208"), 5, 7),
                QStringLiteral("--date"), QStringLiteral("20261208")});
    other->rollback();
    EXPECT_EQ(command.status, 1);
    EXPECT_TRUE(command.err.contains(QStringLiteral("他の端末で処理中です。(5)")))
        << command.err.toStdString();
    EXPECT_FALSE(command.err.contains(QStringLiteral("database is locked")));
}
