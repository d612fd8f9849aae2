#include "ConditionText.h"
#include "ConversionFixture.h"
#include "DbTest.h"

#include "Clock.h"
#include "Confirmation.h"

using namespace ConversionFixture;

class ConfirmationTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        registerDay(db());
    }

    // 10 lines, 7 converted; line 1 confirmed yesterday.
    void addTenLinesSevenConverted()
    {
        for (int ln = 1; ln <= 10; ++ln) {
            OrderLine l;
            l.ln = ln;
            if (ln <= 7) {
                l.flg3 = QStringLiteral("1");
                l.b1 = QStringLiteral("2026/12/08 09:00:00");
            }
            if (ln == 1) {
                l.flg4 = QStringLiteral("1");
                l.b2 = QStringLiteral("2026/12/07 18:00:00");
            }
            addLine(db(), l);
        }
        OrderLine otherDay;
        otherDay.impDate = QStringLiteral("20261207");
        addLine(db(), otherDay);
    }

    QString kakuteiFlag()
    {
        return db()
            .scalar(QStringLiteral("SELECT KAKUTEI_FLG FROM SYS_IMPDATE WHERE IMP_DATE = :d"),
                    {{QStringLiteral("d"), kDay}})
            .toString();
    }
};
INSTANTIATE_ENGINES(ConfirmationTest);

TEST_P(ConfirmationTest, TenLinesSevenConvertedAskTwiceAndConfirmEveryUnconfirmedLine)
{
    addTenLinesSevenConverted();
    const ConfirmationCounts counts = Confirmation::counts(db(), kDay);
    EXPECT_EQ(counts.total, 10);
    EXPECT_EQ(counts.converted, 7);
    EXPECT_EQ(counts.unconverted, 3);

    Confirmation confirmation(db(), dialogs, progress);
    dialogs.answers = {true, false}; // No to the extra question
    EXPECT_EQ(confirmation.run(kDay, counts), Outcome::Declined);
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER"), QStringLiteral("FLG4 = '1'")), 1);
    EXPECT_EQ(kakuteiFlag(), QStringLiteral("0"));

    dialogs.clear();
    Clock::advance(3600);
    ASSERT_EQ(confirmation.run(kDay, counts), Outcome::Done);
    EXPECT_EQ(
        dialogs.texts(),
        (QStringList{"確定しますか？",
                     "変換処理されていないレコードが含まれています。\r\nそれでも確定しますか？",
                     "完了です。"}));
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER"),
                    QStringLiteral(
                        "IMP_DATE = '20261208' AND FLG4 = '1' AND B2 = '2026/12/08 11:00:00'")),
              9);
    // Confirmed earlier keeps its first stamp; another day is not touched.
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER"),
                    QStringLiteral(
                        "IMP_LN = 1 AND IMP_DATE = '20261208' AND B2 = '2026/12/07 18:00:00'")),
              1);
    EXPECT_EQ(
        count(QStringLiteral("TBL_ORDER"), QStringLiteral("IMP_DATE = '20261207' AND FLG4 = '0'")),
        1);
    EXPECT_EQ(kakuteiFlag(), QStringLiteral("1"));
    EXPECT_EQ(conditionText(Confirmation::condition(kDay)),
              QStringLiteral("Where IMP_DATE = '20261208' And FLG4 = '0' "));
}

TEST_P(ConfirmationTest, ADayWithoutLinesIsRefusedAndAFullyConvertedDayIsNotAskedTwice)
{
    Confirmation confirmation(db(), dialogs, progress);
    EXPECT_EQ(confirmation.run(kDay, Confirmation::counts(db(), kDay)), Outcome::Refused);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("レコードがありません。"));
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(kakuteiFlag(), QStringLiteral("0"));

    OrderLine l;
    l.flg3 = QStringLiteral("1");
    addLine(db(), l);
    dialogs.clear();
    ASSERT_EQ(confirmation.run(kDay, Confirmation::counts(db(), kDay)), Outcome::Done);
    EXPECT_EQ(dialogs.count(Shown::Question), 1);
}

TEST_P(ConfirmationTest, TheTwoUpdatesShareOneTransaction)
{
    addTenLinesSevenConverted();
    refuseUpdates(db(), QStringLiteral("SYS_IMPDATE"));
    Confirmation confirmation(db(), dialogs, progress);
    EXPECT_EQ(confirmation.run(kDay, Confirmation::counts(db(), kDay)), Outcome::Failed);
    EXPECT_TRUE(dialogs.last().text.contains(QStringLiteral("update refused")));
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER"), QStringLiteral("FLG4 = '1'")), 1);
    EXPECT_EQ(db().transactionDepth(), 0);
}
