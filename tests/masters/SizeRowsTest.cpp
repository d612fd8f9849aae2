#include "DbTest.h"

#include "SizeRows.h"

class SizeRowsTest : public DbTest {
protected:
    using Pair = SizeRows::Pair;
    QString stampOf(const Pair &pair)
    {
        return db()
            .scalar(QStringLiteral("Select USER_NM || ' ' || TIME_STAMP From "
                                   "MST_TARVOLIN_SIZE Where ROW = :r And SIZE_KBN = :k"),
                    {{QStringLiteral("r"), pair.row}, {QStringLiteral("k"), pair.sizeKbn}})
            .toString();
    }
};
INSTANTIATE_ENGINES(SizeRowsTest);

TEST_P(SizeRowsTest, PairsAreAddedChangedAndRemovedWithTheirStamps)
{
    SizeRows rows(db());
    EXPECT_EQ(rows.save(std::nullopt, {QStringLiteral("01"), QStringLiteral("M01")},
                        QStringLiteral("山田"), QStringLiteral("2026/12/08 10:00:00")),
              QString());
    EXPECT_EQ(stampOf({QStringLiteral("01"), QStringLiteral("M01")}),
              QStringLiteral("山田 2026/12/08 10:00:00"));

    EXPECT_EQ(rows.save(Pair{QStringLiteral("01"), QStringLiteral("M01")},
                        {QStringLiteral("01"), QStringLiteral("L01")}, QStringLiteral("佐藤"),
                        QStringLiteral("2026/12/08 11:00:00")),
              QString());
    EXPECT_EQ(count(QStringLiteral("MST_TARVOLIN_SIZE")), 1);
    EXPECT_EQ(stampOf({QStringLiteral("01"), QStringLiteral("L01")}),
              QStringLiteral("佐藤 2026/12/08 11:00:00"));

    rows.remove({QStringLiteral("01"), QStringLiteral("L01")});
    EXPECT_EQ(count(QStringLiteral("MST_TARVOLIN_SIZE")), 0);
}

TEST_P(SizeRowsTest, BlankKeysAndPairsInUseAreRefused)
{
    SizeRows rows(db());
    const QString user = QStringLiteral("u");
    const QString stamp = QStringLiteral("2026/12/08 10:00:00");
    rows.save(std::nullopt, {QStringLiteral("01"), QStringLiteral("M01")}, user, stamp);
    rows.save(std::nullopt, {QStringLiteral("01"), QStringLiteral("L01")}, user, stamp);

    EXPECT_EQ(rows.save(std::nullopt, {QStringLiteral("  "), QStringLiteral("M01")}, user, stamp),
              QStringLiteral("主キーに空文字は使えません。"));
    EXPECT_EQ(rows.save(std::nullopt, {QStringLiteral("02"), QString()}, user, stamp),
              QStringLiteral("主キーに空文字は使えません。"));
    EXPECT_EQ(rows.save(std::nullopt, {QStringLiteral("01"), QStringLiteral("M01")}, user, stamp),
              QStringLiteral("既に登録されています。"));
    EXPECT_EQ(rows.save(Pair{QStringLiteral("01"), QStringLiteral("L01")},
                        {QStringLiteral("01"), QStringLiteral("M01")}, user, stamp),
              QStringLiteral("既に登録されています。"));
    EXPECT_EQ(count(QStringLiteral("MST_TARVOLIN_SIZE")), 2);
    // Writing a pair unchanged (only its stamp) is no duplicate of itself.
    EXPECT_EQ(rows.save(Pair{QStringLiteral("01"), QStringLiteral("L01")},
                        {QStringLiteral("01"), QStringLiteral("L01")}, QStringLiteral("v"), stamp),
              QString());
    EXPECT_EQ(stampOf({QStringLiteral("01"), QStringLiteral("L01")}), QStringLiteral("v ") + stamp);
}

TEST_P(SizeRowsTest, APairRemovedMeanwhileIsWrittenAgainAsChanged)
{
    SizeRows rows(db());
    const QString stamp = QStringLiteral("2026/12/08 10:00:00");
    rows.save(std::nullopt, {QStringLiteral("01"), QStringLiteral("M01")}, QStringLiteral("u"),
              stamp);
    openSecond()->exec(QStringLiteral("Delete From MST_TARVOLIN_SIZE"));
    EXPECT_EQ(rows.save(Pair{QStringLiteral("01"), QStringLiteral("M01")},
                        {QStringLiteral("01"), QStringLiteral("S01")}, QStringLiteral("u"), stamp),
              QString());
    EXPECT_EQ(count(QStringLiteral("MST_TARVOLIN_SIZE"), QStringLiteral("SIZE_KBN = 'S01'")), 1);
}
