#include "ConversionFixture.h"
#include "DbTest.h"

#include "OrderBulkUpdate.h"

using namespace ConversionFixture;

class OrderBulkUpdateTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        loadMasters(db());
        OrderLine l;
        l.printer.clear();
        l.dataFlg.clear();
        l.ln = 1;
        addLine(db(), l);
        l.ln = 2;
        l.fcRg = QStringLiteral("CD");
        addLine(db(), l);
        l.ln = 3;
        l.flg3 = QStringLiteral("1"); // converted: outside the edit condition
        addLine(db(), l);
    }

    QString values(int ln)
    {
        const auto rows = db().rows(QStringLiteral("SELECT SET_DATE, PRINTER, DATA_FLG, FLG5 FROM "
                                                   "TBL_ORDER WHERE IMP_LN = :ln"),
                                    {{QStringLiteral("ln"), ln}});
        QStringList v;
        for (int i = 0; i < 4; ++i)
            v << rows[0].value(i).toString();
        return v.join(QLatin1Char('|'));
    }

    const OrderCondition m_condition = OrderCondition(QStringLiteral(
        "Where IMP_DATE = '20261208' And FLG3 = '0' And FLG4 = '0' And FC_RG = 'AB' "));
};
INSTANTIATE_ENGINES(OrderBulkUpdateTest);

TEST_P(OrderBulkUpdateTest, TheThreeChecksRefuseBeforeAnythingIsWritten)
{
    OrderBulkUpdate update(db(), dialogs);
    const QList<std::pair<BulkUpdateValues, QString>> cases = {
        {{"2026/02/30", "", "", ""}, "日付型でないです。"},
        {{"", "TP-9", "", ""}, "一覧から選択してください。"},
        {{"", "", "", "2"}, "特定変換は0か1を指定してください。"},
        {{"x", "TP-1", "", "%"}, "日付型でないです。"},
    };
    for (const auto &[input, message] : cases) {
        dialogs.clear();
        EXPECT_EQ(update.apply(input, m_condition), Outcome::Refused);
        EXPECT_EQ(dialogs.texts(), QStringList{message});
        EXPECT_EQ(dialogs.last().icon, Icon::Error);
    }
    EXPECT_EQ(values(1), QStringLiteral("2026/12/10|||0"));
}

TEST_P(OrderBulkUpdateTest, GivenValuesGoToTheLinesOfTheConditionOnly)
{
    const QList<PrinterModel> models = OrderBulkUpdate::printerModels(db());
    ASSERT_EQ(models.size(), 2);
    OrderBulkUpdate update(db(), dialogs);
    ASSERT_EQ(update.apply({"2004/5/3", "LP-1", "0", "1"}, m_condition), Outcome::Done);
    EXPECT_EQ(update.changedLines(), 1);
    EXPECT_EQ(values(1), QStringLiteral("2004/05/03|LP-1|0|1"));
    EXPECT_EQ(values(2), QStringLiteral("2026/12/10|||0")); // another factory
    EXPECT_EQ(values(3), QStringLiteral("2026/12/10|||0")); // converted

    // Nothing given: nothing written, still a success.
    ASSERT_EQ(update.apply({}, m_condition), Outcome::Done);
    EXPECT_EQ(update.changedLines(), 0);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_P(OrderBulkUpdateTest, ADatabaseErrorIsReportedAndChangesNothing)
{
    refuseUpdates(db(), QStringLiteral("TBL_ORDER"), QStringLiteral("FLG5"));
    OrderBulkUpdate update(db(), dialogs);
    EXPECT_EQ(update.apply({"2026/12/24", "TP-1", "1", "1"}, m_condition), Outcome::Failed);
    EXPECT_TRUE(dialogs.last().text.contains(QStringLiteral("update refused")));
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(values(1), QStringLiteral("2026/12/10|||0"));
}
