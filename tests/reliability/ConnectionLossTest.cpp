// The database server goes away in the middle of a screen's work and comes back: the desk says
// so, keeps running, and the next action works on a new connection (dbOpen reconnects a lost
// one). On a private PostgreSQL server of the test's own (scripts/pg-server), never the shared
// one, since it is stopped and started.
#include "Clock.h"
#include "Confirmation.h"
#include "ConfirmationScreen.h"
#include "Db.h"
#include "DbTest.h"
#include "DemoData.h"
#include "DemoOrderFile.h"
#include "Desktop.h"
#include "ImportRun.h"
#include "OpenMonth.h"
#include "OrderBulkUpdate.h"
#include "RecordingProgress.h"
#include "Schema.h"
#include "ScriptedDialogs.h"
#include "Session.h"
#include "globals.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString kDay = QStringLiteral("20261201");

int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(s);
    return port;
}

// scripts/pg-server of this checkout, which the test data lives beside.
QString pgServerScript()
{
    return QDir(testDataPath(QStringLiteral("../../scripts")))
        .filePath(QStringLiteral("pg-server"));
}

} // namespace

class ConnectionLossTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFile::exists(QStringLiteral("/usr/lib/postgresql")))
            GTEST_SKIP() << "PostgreSQL is not installed";
        // The server runs as another user when the tests run as root: a folder it can enter.
        char pattern[] = "/tmp/ostera-lost.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_serverDir = QString::fromLocal8Bit(pattern);
        QFile::setPermissions(m_serverDir, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                               QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                               QFileDevice::ExeGroup);
        m_port = freePort();
        ASSERT_TRUE(server(QStringLiteral("start"))) << m_serverLog.toStdString();
        m_started = true;

        resetGlobals();
        session.shutdown();
        gProvider = QStringLiteral("PostgreSQL");
        gServerName = QStringLiteral("127.0.0.1:%1").arg(m_port);
        gDbName = QStringLiteral("postgres");
        gDbUser = QStringLiteral("postgres");
        gTimeout = 5;
        gInstallDir = m_dir.path();
        gUserName = QStringLiteral("tester");
        const QString folder = m_dir.filePath(QStringLiteral("out"));
        QDir().mkpath(folder);
        session.setFolderSettings({folder, folder, folder, folder, folder});
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)));
        setAppDialogs(&dialogs);
        setAppProgress(&progress);
        Desktop::setOpener([](const QString &) {});

        ASSERT_EQ(session.open(dialogs), Outcome::Done) << dialogs.texts().join('\n').toStdString();
        QString message;
        ASSERT_EQ(Schema::create(*session.db(), &message), Outcome::Done) << message.toStdString();
        DemoData::loadMasters(*session.db());
        DemoData::openBusinessMonth(*session.db(), Clock::today());
        const QString file = m_dir.filePath(QStringLiteral("day.txt"));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(DemoOrderFile::generate({QDate(2026, 12, 1), 30, 3, true}));
        out.close();
        const auto month = OpenMonth::read(*session.db());
        ASSERT_TRUE(month);
        ASSERT_EQ(ImportRun(*session.db(), dialogs, progress)
                      .run({file, kDay, month->nen, month->tuki, Clock::today()}),
                  Outcome::Done);
        session.setImportDate(kDay);
        // The test server commits without waiting for its log (synchronous_commit off) and is
        // stopped the hard way: the day must be on disk before the server goes.
        session.db()->exec(QStringLiteral("CHECKPOINT"));
        session.close();
        dialogs.clear();
    }

    void TearDown() override
    {
        session.shutdown();
        setAppDialogs(nullptr);
        setAppProgress(nullptr);
        Desktop::setOpener(nullptr);
        Clock::setFixed(QDateTime());
        if (m_started)
            server(QStringLiteral("stop"));
        if (!m_serverDir.isEmpty())
            QDir(m_serverDir).removeRecursively();
    }

    bool server(const QString &command)
    {
        QProcess process;
        QStringList args{command, m_serverDir + QStringLiteral("/pg")};
        if (command == QLatin1String("start"))
            args << QString::number(m_port);
        process.start(pgServerScript(), args);
        const bool done = process.waitForFinished(120000) &&
                          process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        m_serverLog = QString::fromLocal8Bit(process.readAllStandardError());
        return done;
    }

    int confirmedLines()
    {
        return session.db()
            ->scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER WHERE FLG4 = '1'"))
            .toInt();
    }

    QTemporaryDir m_dir;
    QString m_serverDir;
    QString m_serverLog;
    int m_port = 0;
    bool m_started = false;
    Session session;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
};

// The confirmation screen is open with its counts when the server goes away: OK says what
// happened (the connection message titled "dbOpen"), the screen stays; with the server back,
// OK confirms the day on a new connection.
TEST_F(ConnectionLossTest, ScreenReportsTheLostServerAndWorksOnceItIsBack)
{
    ConfirmationScreen screen(session);
    screen.show();
    auto *total = screen.findChild<QLineEdit *>(QStringLiteral("totalEdit"));
    ASSERT_EQ(total->text(), QStringLiteral("30"));
    auto *ok = screen.findChild<QPushButton *>(QStringLiteral("okButton"));

    ASSERT_TRUE(server(QStringLiteral("stop"))) << m_serverLog.toStdString();
    QTest::mouseClick(ok, Qt::LeftButton);
    ASSERT_EQ(dialogs.count(Shown::Message), 1) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(dialogs.last().title, QStringLiteral("dbOpen"));
    EXPECT_TRUE(screen.isVisible());

    ASSERT_TRUE(server(QStringLiteral("start"))) << m_serverLog.toStdString();
    dialogs.clear();
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(dialogs.texts().contains(QStringLiteral("完了です。")))
        << dialogs.texts().join('|').toStdString();
    EXPECT_FALSE(screen.isVisible());
    ASSERT_EQ(session.open(dialogs), Outcome::Done);
    EXPECT_EQ(confirmedLines(), 30);
    session.close();
}

// Between two logic calls on the shared connection: the call that meets the lost server throws
// the database's error (which the screen shows), nothing is half written, and after dbOpen the
// same call runs on a new connection.
TEST_F(ConnectionLossTest, LogicCallFailsCleanlyAndTheNextOpenReconnects)
{
    ASSERT_EQ(session.open(dialogs), Outcome::Done);
    EXPECT_EQ(Confirmation::counts(*session.db(), kDay).total, 30);
    ASSERT_TRUE(server(QStringLiteral("stop"))) << m_serverLog.toStdString();

    BulkUpdateValues printer;
    printer.printer = QStringLiteral("TT-200");
    printer.dataFlg = QStringLiteral("1");
    EXPECT_EQ(OrderBulkUpdate(*session.db(), dialogs, progress)
                  .apply(printer, OrderCondition(QStringLiteral("Where IMP_DATE = '20261201' "))),
              Outcome::Failed);
    ASSERT_EQ(dialogs.count(Shown::Message), 1);
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_THROW(Confirmation::counts(*session.db(), kDay), DbError);

    // The screens open the connection before each action; the old one is still open but lost.
    ASSERT_TRUE(server(QStringLiteral("start"))) << m_serverLog.toStdString();
    const Db *lost = session.db();
    ASSERT_EQ(session.open(dialogs), Outcome::Done) << dialogs.texts().join('|').toStdString();
    EXPECT_NE(session.db(), lost);
    EXPECT_EQ(session.db()
                  ->scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER WHERE PRINTER <> ''"))
                  .toInt(),
              0);
    EXPECT_EQ(OrderBulkUpdate(*session.db(), dialogs, progress)
                  .apply(printer, OrderCondition(QStringLiteral("Where IMP_DATE = '20261201' "))),
              Outcome::Done);
    EXPECT_EQ(
        session.db()
            ->scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER WHERE PRINTER = 'TT-200'"))
            .toInt(),
        30);
    session.close();
}
