#include "ConversionFixture.h"
#include "DbTest.h"

using namespace ConversionFixture;

class ConversionCommandsTest : public ConversionDayTest {
protected:
    void SetUp() override
    {
        ConversionDayTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        OrderLine l;
        addLine(db(), l);
        l.ln = 2;
        l.setDate = QStringLiteral("2026/12/11");
        addLine(db(), letterpress(l));
    }

    QString line(int ln, const char *columns)
    {
        return db()
            .scalar(QStringLiteral("SELECT ") + QLatin1String(columns) +
                        QStringLiteral(" FROM TBL_ORDER WHERE IMP_LN = :ln"),
                    {{QStringLiteral("ln"), ln}})
            .toString();
    }
};
INSTANTIATE_ENGINES(ConversionCommandsTest);

TEST_P(ConversionCommandsTest, ConvertAsksPrintsTheReportAndCancelUndoesIt)
{
    Run refused = runOstera({"convert", kDay});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("変換しますか？")))
        << refused.err.toStdString();
    EXPECT_EQ(line(1, "FLG3"), QStringLiteral("0"));

    Run run = runOstera({"convert", kDay, "--machine", "thermal", "--set-date", "2026/12/01",
                         "2026/12/31", "--yes"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("※※※変換結果報告※※※\n\n発注レコード件数：1\n")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("印字データ件数：1")));
    EXPECT_EQ(line(1, "FLG3 || B1"), QStringLiteral("12026/12/08 10:00:00"));
    EXPECT_EQ(line(2, "FLG3"), QStringLiteral("0"));
    EXPECT_EQ(filesIn(path(QStringLiteral("out/生産C"))), QStringList{"AB-001.csv"});

    Run cancel = runOstera({"cancel", kDay, "--yes"});
    EXPECT_EQ(cancel.status, 0) << cancel.err.toStdString();
    EXPECT_EQ(line(1, "FLG3 || B1"), QStringLiteral("0"));
    Run nothing = runOstera({"cancel", kDay, "--yes"});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_TRUE(nothing.err.contains(QStringLiteral("レコードがありません。")));
}

TEST_P(ConversionCommandsTest, BadOptionsAreUsageErrors)
{
    EXPECT_EQ(runOstera({"convert", kDay, "--machine", "offset", "--yes"}).status, 2);
    EXPECT_EQ(runOstera({"convert", kDay, "--set-date", "2026/12/01", "--yes"}).status, 2);
    EXPECT_EQ(runOstera({"convert", "--yes"}).status, 2);
    EXPECT_EQ(runOstera({"update", kDay, "--printer"}).status, 2);
    EXPECT_EQ(line(1, "FLG2 || FLG3"), QStringLiteral("00"));
    // A refused condition is a failure, not a usage error.
    Run refused = runOstera({"convert", kDay, "--special", "2", "--yes"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("特定変換では'0'か'1'を指定してください。")));
}

TEST_P(ConversionCommandsTest, UpdateTakesTheModelsFlagFromThePrinterMaster)
{
    Run run = runOstera(
        {"update", kDay, "--printer", "LP-1", "--set-date", "2026/1/5", "--special", "1"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(line(1, "PRINTER || DATA_FLG || SET_DATE || FLG5"),
              QStringLiteral("LP-102026/01/051"));

    Run unknown = runOstera({"update", kDay, "--printer", "XX-9"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("一覧から選択してください。")));
    EXPECT_EQ(line(1, "PRINTER"), QStringLiteral("LP-1"));
}

TEST_P(ConversionCommandsTest, ConfirmPrintsTheCountsAndConfirmsTheDay)
{
    db().exec(QStringLiteral("UPDATE TBL_ORDER SET FLG3 = '1' WHERE IMP_LN = 1"));
    Run no = runOstera({"confirm", kDay});
    EXPECT_EQ(no.status, 1);
    EXPECT_EQ(no.out, QStringLiteral("合計：2\n変換済み：1\n未変換：1\n"));
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER"), QStringLiteral("FLG4 = '1'")), 0);

    Run yes = runOstera({"confirm", kDay, "--yes"});
    EXPECT_EQ(yes.status, 0) << yes.err.toStdString();
    EXPECT_TRUE(yes.err.contains(QStringLiteral("それでも確定しますか？")));
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER"),
                    QStringLiteral("FLG4 = '1' AND B2 = '2026/12/08 10:00:00'")),
              2);
    EXPECT_EQ(count(QStringLiteral("SYS_IMPDATE"), QStringLiteral("KAKUTEI_FLG = '1'")), 1);
}
