// An installation created before the history tables: the work goes on and says how to add
// them; upgrade-db adds exactly what is missing.
#include "HistoryFixture.h"

#include "OrderBulkUpdate.h"
#include "OrderLineStore.h"
#include "Schema.h"

using namespace ConversionFixture;

class OlderInstallationTest : public HistoryTest {
protected:
    bool indexExists(const QString &name)
    {
        if (db().isSQLite())
            return db().exists(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' "
                                              "AND lower(name) = lower(:n)"),
                               {{QStringLiteral("n"), name}});
        return db().exists(QStringLiteral("SELECT 1 FROM pg_indexes WHERE schemaname = "
                                          "current_schema() AND indexname = lower(:n)"),
                           {{QStringLiteral("n"), name}});
    }
};
INSTANTIATE_ENGINES(OlderInstallationTest);

TEST_P(OlderInstallationTest, WorkGoesOnWithoutTheHistoryTablesAndSaysHowToAddThem)
{
    addLines(2);
    dropHistoryTables();
    const QString missing =
        QStringLiteral("実行履歴テーブルがありません。ostera upgrade-db を実行してください。");

    const ConversionResult result = convert();
    ASSERT_TRUE(result.converted()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(count("TBL_ORDER", "FLG3 = '1' AND B1 = '2026/12/08 10:00:00'"), 2);
    EXPECT_EQ(dialogs.messages(), QStringList{missing}); // once for the whole run
    EXPECT_EQ(dialogs.last().icon, Icon::Warning);

    dialogs.clear();
    ASSERT_EQ(cancel(), Outcome::Done);
    EXPECT_EQ(dialogs.messages(), (QStringList{missing, "完了しました。"}));
    EXPECT_EQ(count("TBL_ORDER", "FLG3 = '1'"), 0);

    dialogs.clear();
    BulkUpdateValues values;
    values.special = QStringLiteral("1");
    ASSERT_EQ(OrderBulkUpdate(db(), dialogs)
                  .apply(values, OrderCondition(QStringLiteral("Where IMP_DATE = '20261208' "))),
              Outcome::Done);
    EXPECT_EQ(dialogs.messages(), QStringList{missing});
    EXPECT_EQ(count("TBL_ORDER", "FLG5 = '1'"), 2);

    // A grid edit has no one to tell; it is written all the same.
    const QList<OrderLineValue> read = {{"IMP_DATE", kDay}, {"IMP_LN", 1}, {"SU", 10}};
    EXPECT_TRUE(OrderLineStore(db()).update({{"SU", 11}}, read));
    EXPECT_TRUE(OrderLineStore(db()).remove({{"IMP_DATE", kDay}, {"IMP_LN", 2}}));
    EXPECT_EQ(count("TBL_ORDER"), 1);

    dialogs.clear();
    ASSERT_EQ(confirm(), Outcome::Done);
    EXPECT_EQ(dialogs.messages(), (QStringList{missing, "完了です。"}));

    // Reading the history says the same instead of a database error.
    const DbTest::Run runs = runOstera({QStringLiteral("runs")});
    EXPECT_EQ(runs.status, 1);
    EXPECT_TRUE(runs.err.contains(missing)) << runs.err.toStdString();
}

TEST_P(OlderInstallationTest, UpgradeDbCreatesOnlyTheMissingTables)
{
    addLines(1);
    ASSERT_TRUE(convert().converted());
    const int runs = count("TBL_RUN");
    ASSERT_EQ(runs, 1);
    db().exec(QStringLiteral("DROP TABLE TBL_ORDER_LOG"));
    db().exec(QStringLiteral("DROP TABLE TBL_RUN_RPT"));
    ASSERT_FALSE(indexExists(QStringLiteral("IX_TBL_ORDER_LOG_LINE")));

    const DbTest::Run upgrade = runOstera({QStringLiteral("upgrade-db")});
    ASSERT_EQ(upgrade.status, 0) << upgrade.err.toStdString();
    EXPECT_EQ(upgrade.out, QStringLiteral("TBL_RUN_RPT\nTBL_ORDER_LOG\n"));
    EXPECT_TRUE(HistoryTables::present(db()));
    EXPECT_TRUE(indexExists(QStringLiteral("IX_TBL_ORDER_LOG_LINE")));
    EXPECT_EQ(count("TBL_RUN"), runs); // the tables that were there keep their rows
    EXPECT_EQ(count("TBL_ORDER"), 1);

    const DbTest::Run again = runOstera({QStringLiteral("upgrade-db")});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, QString());
    EXPECT_TRUE(again.err.contains(QStringLiteral("追加するテーブルはありません。")));

    // The trail works at once.
    EXPECT_TRUE(
        OrderLineStore(db()).update({{"SU", 12}}, {{"IMP_DATE", kDay}, {"IMP_LN", 1}, {"SU", 10}}));
    EXPECT_EQ(changesOf(1), QStringList{"修正 SU 10>12"});

    // Nothing is left to add.
    EXPECT_EQ(Schema::createMissing(db()), QStringList());
}

TEST_P(OlderInstallationTest, UpgradeDbGivesAnOlderTrailItsLineCount)
{
    addLines(2);
    db().exec(QStringLiteral("ALTER TABLE TBL_ORDER_LOG DROP COLUMN LINE_CNT"));

    const DbTest::Run upgrade = runOstera({QStringLiteral("upgrade-db")});
    ASSERT_EQ(upgrade.status, 0) << upgrade.err.toStdString();
    EXPECT_EQ(upgrade.out, QStringLiteral("TBL_ORDER_LOG.LINE_CNT\n"));

    // A run is then kept as one entry that each of its lines shows.
    ASSERT_TRUE(convert().converted());
    EXPECT_EQ(count("TBL_ORDER_LOG", "IMP_LN = 0 AND LINE_CNT = 2"), 1);
    EXPECT_EQ(changesOf(2).size(), 2);
    EXPECT_TRUE(dialogs.messages().filter(QStringLiteral("履歴")).isEmpty());
}
