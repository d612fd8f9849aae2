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
