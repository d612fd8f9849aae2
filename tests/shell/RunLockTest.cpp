#include "DbTest.h"

#include "RunLock.h"

class RunLockTest : public DbTest {};
INSTANTIATE_ENGINES(RunLockTest);

TEST_P(RunLockTest, ASecondWorkstationWaitsWithTheMessageUntilTheFirstReleases)
{
    auto second = openSecond();
    RunLock mine(db(), RunLock::Kind::Conversion);
    mine.acquire(progress);
    ASSERT_TRUE(mine.held());

    RecordingProgress theirProgress;
    RunLock theirs(*second, RunLock::Kind::Conversion);
    try {
        theirs.acquire(theirProgress, /*maxWaitSeconds*/ 0);
        FAIL() << "both workstations hold the lock";
    } catch (const DbError &e) {
        EXPECT_EQ(e.text(), RunLock::waitingMessage());
    }
    EXPECT_EQ(theirProgress.notes, QStringList{RunLock::waitingMessage()});

    // Imports and conversions do not block each other.
    RunLock import(*second, RunLock::Kind::Import);
    import.acquire(theirProgress, 0);
    EXPECT_TRUE(import.held());

    mine.release();
    theirs.acquire(theirProgress, 5);
    EXPECT_TRUE(theirs.held());
}

TEST_P(RunLockTest, ALockIsReleasedWhenItsHolderGoesAway)
{
    {
        auto second = openSecond();
        RunLock dying(*second, RunLock::Kind::Import);
        dying.acquire(progress);
        second->close(); // the connection (or process) ends without releasing
    }
    RunLock next(db(), RunLock::Kind::Import);
    next.acquire(progress, 5);
    EXPECT_TRUE(next.held());
}

// Installations sharing one server in schemas of their own (or, on SQLite, in files of their
// own) run their imports and conversions without waiting for each other.
TEST_P(RunLockTest, AnotherInstallationsRunDoesNotHoldUpOurs)
{
    ConnectionSettings other = settings();
    if (db().isPostgreSQL()) {
        other.schema = settings().schema + QStringLiteral("_b");
        db().exec(QStringLiteral("CREATE SCHEMA \"%1\"").arg(other.schema));
    } else {
        other.server = QStringLiteral("other.db");
    }
    {
        Db theirDb(other);
        theirDb.open(/*createIfMissing*/ true);
        RunLock theirs(theirDb, RunLock::Kind::Conversion);
        theirs.acquire(progress);
        ASSERT_TRUE(theirs.held());

        RunLock mine(db(), RunLock::Kind::Conversion);
        mine.acquire(progress, /*maxWaitSeconds*/ 0);
        EXPECT_TRUE(mine.held());
    }
    if (db().isPostgreSQL())
        db().exec(QStringLiteral("DROP SCHEMA \"%1\" CASCADE").arg(other.schema));
}
