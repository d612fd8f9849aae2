#include "DbTest.h"

class PeriodCommandsTest : public DbTest {
protected:
    QString flagOf(const QString &nen, const QString &tuki)
    {
        return db()
            .scalar(QStringLiteral("SELECT KAKUTEI_FLG FROM SYS_TUKI WHERE NEN = :n AND TUKI = :t"),
                    {{"n", nen}, {"t", tuki}})
            .toString();
    }
};
INSTANTIATE_ENGINES(PeriodCommandsTest);

TEST_P(PeriodCommandsTest, MonthCommandRunsTheRegisterWithItsQuestionsAndMessages)
{
    // Without --yes every question is answered No.
    Run run = runOstera({"month", "new", "2027", "1"});
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("2027年01月の月次業務を新規作成します。")));
    EXPECT_EQ(count("SYS_TUKI"), 0);

    run = runOstera({"month", "new", "2027", "1", "--yes"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("完了しました。")));
    EXPECT_EQ(flagOf("2027", "01"), QStringLiteral("0"));

    run = runOstera({"month", "new", "2027", "2", "--yes"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("確定されていない月次業務が存在します。")));

    run = runOstera({"month", "confirm", "2027", "01", "--yes"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(flagOf("2027", "01"), QStringLiteral("1"));

    run = runOstera({"--yes", "month", "reopen", "2027", "01"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(flagOf("2027", "01"), QStringLiteral("0"));
}

TEST_P(PeriodCommandsTest, MonthCommandRefusesBadInputAndUnknownMonths)
{
    Run run = runOstera({"month", "new", "2002", "5", "--yes"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("不正です。")));
    run = runOstera({"month", "new", "2100", "5", "--yes"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(count("SYS_TUKI"), 0);

    run = runOstera({"month", "confirm", "2030", "01", "--yes"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("レコードがありません。")));

    EXPECT_EQ(runOstera({"month", "close", "2027", "01"}).status, 2);
    EXPECT_EQ(runOstera({"month", "new", "2027"}).status, 2);
}
