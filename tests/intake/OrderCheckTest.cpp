#include "DbTest.h"
#include "OrderFileBuilder.h"
#include "OrderTestMasters.h"

#include "MasterEnrichment.h"
#include "OrderCheck.h"

#include <QSqlRecord>

class OrderCheckTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        loadTestMasters(db());
    }

    // A line as the build leaves it, with the test masters' codes unless changed.
    void addLine(int ln, QVariantMap values = {}, const QString &date = "20261208")
    {
        QVariantMap row{{"IMP_DATE", date},    {"IMP_LN", ln},  {"KNR_NO", "TK-001"},
                        {"LOT_NO", "JZ00001"}, {"FC_RG", "TK"}, {"FC_CD", "J13001"},
                        {"HINBAN", "OS2101"},  {"COL", "NV"},   {"S_END", ""},
                        {"S_TBL", "M"},        {"S_FLD", "02"}, {"ROW", "01"},
                        {"SCN", ""},           {"SU", 100},     {"QUL_KEY", "CT1000"},
                        {"SIZE_KEY", "M0201"}, {"CAR_CD", "A"}};
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            row[it.key()] = it.value();
        QStringList columns = row.keys();
        QStringList marks;
        for (const QString &c : columns)
            marks << ":" + c;
        db().exec("INSERT INTO TBL_ORDER(" + columns.join(',') + ") VALUES(" + marks.join(',') +
                      ")",
                  row);
    }

    Outcome check(const QString &date = "20261208")
    {
        return checkDay(db(), dialogs, progress, date);
    }

    QString value(const QString &column, int ln, const QString &date = "20261208")
    {
        return db()
            .scalar("SELECT " + column + " FROM TBL_ORDER WHERE IMP_DATE = :d AND IMP_LN = :ln",
                    {{"d", date}, {"ln", ln}})
            .toString();
    }

    // The day's findings as "line/ERR_LN/ERR1/ERR2/ERR3", in line and finding order.
    QStringList findings(const QString &date = "20261208")
    {
        QStringList result;
        for (const QSqlRecord &r :
             db().rows("SELECT IMP_LN, ERR_LN, ERR1, ERR2, ERR3 FROM TBL_ERR WHERE IMP_DATE = :d "
                       "ORDER BY IMP_LN, ERR_LN",
                       {{"d", date}})) {
            QStringList parts;
            for (int i = 0; i < 5; ++i)
                parts << r.value(i).toString();
            result << parts.join('/');
        }
        return result;
    }
};
INSTANTIATE_ENGINES(OrderCheckTest);

TEST_P(OrderCheckTest, CleanDayHasNoFindingsAndIsCompletedFromTheMasters)
{
    addLine(1);
    EXPECT_EQ(check(), Outcome::Done);
    EXPECT_TRUE(findings().isEmpty());
    EXPECT_EQ(value("FLG1", 1), "0");
    EXPECT_EQ(value("HINBAN_KBN", 1), "OS");
    EXPECT_EQ(value("BR_CD", 1), "OSBLUE");
    EXPECT_EQ(value("BR_NM", 1), "オステラ ブルー");
    EXPECT_EQ(value("FC_NM", 1), "東京縫製株式会社");
    EXPECT_EQ(value("FC_RNM", 1), "東京");
    EXPECT_EQ(value("GENSAN1", 1), "日本製");
    EXPECT_EQ(value("SPARE_SU", 1), "5");
    EXPECT_EQ(value("YARE_SU", 1), "20");
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(progress.titles, QStringList({"マスタ参照...", "エラーチェック..."}));
    EXPECT_EQ(progress.lastTotal, 5);
    EXPECT_EQ(progress.lastStep, 5);
    EXPECT_FALSE(progress.active);
}

TEST_P(OrderCheckTest, ColourFromTheColourMasterOnlyForLinesMarkedC)
{
    addLine(1, {{"S_TBL", "K"}, {"S_FLD", "01"}, {"SCN", "C"}, {"COL", "NV"}});
    addLine(2, {{"S_TBL", "K"}, {"S_FLD", "01"}, {"SCN", "X"}, {"COL", "NV"}});
    addLine(3, {{"S_TBL", "K"}, {"S_FLD", "01"}, {"SCN", "X"}, {"COL", ""}});
    addLine(4, {{"S_TBL", "K"}, {"S_FLD", "02"}, {"SCN", "C"}, {"COL", ""}}); // no master row
    EXPECT_EQ(check(), Outcome::Done);
    EXPECT_EQ(value("COL", 1), "RD");
    EXPECT_EQ(value("COL", 2), "NV");
    EXPECT_EQ(value("COL", 3), "WH");
    EXPECT_EQ(value("COL", 4), "WH");
}

TEST_P(OrderCheckTest, SpareQuantityFollowsTheNameTypesThreshold)
{
    addLine(1, {{"SU", 100}});
    addLine(2, {{"SU", 101}});
    addLine(3, {{"CAR_CD", "Z"}, {"SPARE_SU", 7}, {"YARE_SU", 3}}); // threshold and spoilage 0
    addLine(4, {{"CAR_CD", "Q"}, {"SPARE_SU", 7}});                 // not in the master
    EXPECT_EQ(check(), Outcome::Done);
    EXPECT_EQ(value("SPARE_SU", 1), "5");
    EXPECT_EQ(value("SPARE_SU", 2), "10");
    EXPECT_EQ(value("SPARE_SU", 3), "7");
    EXPECT_EQ(value("YARE_SU", 3), "3");
    EXPECT_EQ(value("SPARE_SU", 4), "7");
}

TEST_P(OrderCheckTest, ProductNumberClassAsTheThirdCharacterDecides)
{
    const QStringList hinban{"AB1234", "ABC123", "AB-123", "AB$123", "AB\\12",
                             "AB",     "ABｱ123", "AB 123", "A"};
    const QStringList expected{"AB", "ABC", "AB", "AB", "AB", "AB", "ABｱ", "AB ", "A"};
    for (int i = 0; i < hinban.size(); ++i)
        addLine(i + 1, {{"HINBAN", hinban.at(i)}});
    EXPECT_EQ(check(), Outcome::Done);
    for (int i = 0; i < hinban.size(); ++i)
        EXPECT_EQ(value("HINBAN_KBN", i + 1), expected.at(i)) << hinban.at(i).toStdString();
}

TEST_P(OrderCheckTest, LotTotalsCoverEveryDayOfTheLotButOnlyTheDayIsUpdated)
{
    addLine(1, {{"SU", 10}}, "20261207");
    addLine(2, {{"SU", 21}}, "20261207");
    addLine(3, {{"SU", 5}, {"LOT_NO", "JZ00002"}}, "20261207");
    ASSERT_EQ(check("20261207"), Outcome::Done);
    EXPECT_EQ(value("LOT_SU", 1, "20261207"), "31");
    EXPECT_EQ(value("LOT_AVG", 1, "20261207"), "15"); // 31 / 2, truncated

    addLine(1, {{"SU", 30}});
    addLine(2, {{"SU", 0}, {"LOT_NO", "JZ00009"}});
    ASSERT_EQ(check(), Outcome::Done);
    EXPECT_EQ(value("LOT_SU", 1), "61");
    EXPECT_EQ(value("LOT_AVG", 1), "20"); // 61 / 3
    EXPECT_EQ(value("LOT_SU", 2), "0");
    EXPECT_EQ(value("LOT_SU", 1, "20261207"), "31"); // the first day keeps its own total
    EXPECT_EQ(value("LOT_SU", 3, "20261207"), "5");
}

TEST_P(OrderCheckTest, EndCodesAandMAreClearedOnTheDayAndTheSizeKeyRebuilt)
{
    addLine(1, {{"S_END", "A"}, {"SIZE_KEY", "AM0201"}});
    addLine(2, {{"S_END", "M"}, {"SIZE_KEY", "MM0201"}});
    addLine(3, {{"S_END", "B"}, {"SIZE_KEY", "BM0201"}});
    addLine(1, {{"S_END", "M"}}, "20261207");
    EXPECT_EQ(check(), Outcome::Done);
    EXPECT_EQ(value("S_END", 1), "");
    EXPECT_EQ(value("SIZE_KEY", 1), "M0201");
    EXPECT_EQ(value("SIZE_KEY", 2), "M0201");
    EXPECT_EQ(value("SIZE_KEY", 3), "BM0201");
    EXPECT_EQ(value("S_END", 1, "20261207"), "M");
}

TEST_P(OrderCheckTest, BrandDefaultsToTheHouseBrandNamedOnlyWhenTheBrandMasterHasIt)
{
    addLine(1, {{"HINBAN", "XY1000"}}); // class unknown
    addLine(2, {{"HINBAN", "NB1000"}}); // class known, without brand
    addLine(3, {{"HINBAN", "ABC100"}}); // class with a brand the brand master lacks
    EXPECT_EQ(check(), Outcome::Done);
    EXPECT_EQ(value("BR_CD", 1), "OSTERA");
    EXPECT_EQ(value("BR_NM", 1), "");
    EXPECT_EQ(value("BR_CD", 2), "OSTERA");
    EXPECT_EQ(value("BR_CD", 3), "ABCBR");
    EXPECT_EQ(value("BR_NM", 3), "");

    db().exec("INSERT INTO MST_BRAND(BR_CD, BR_NM) VALUES('OSTERA', 'オステラ')");
    EXPECT_EQ(check(), Outcome::Done);
    EXPECT_EQ(value("BR_NM", 1), "オステラ");
    EXPECT_EQ(value("BR_NM", 2), "オステラ");
}

TEST_P(OrderCheckTest, EveryCheckWritesItsTextsInCheckOrder)
{
    addLine(1, {{"KNR_NO", "XX-004"},
                {"HINBAN", "ZZ9000"},
                {"FC_RG", "XX"},
                {"FC_CD", "X0001"},
                {"QUL_KEY", ""},
                {"S_TBL", "X"},
                {"S_FLD", "01"},
                {"S_END", "B"},
                {"ROW", "05"}});
    addLine(2, {{"KNR_NO", "TK-002"}, {"QUL_KEY", "QN9001"}});
    addLine(3);
    EXPECT_EQ(check(), Outcome::Done);
    EXPECT_EQ(findings(), QStringList({
                              "1/1/XX-004/品番区分マスタに未登録です/品番区分=ZZ",
                              "1/2/XX-004/工場マスタに未登録です/工場略号=XX,工場コード=X0001",
                              "1/3/XX-004/品質キーが空白です/",
                              "1/4/XX-004/が品質マスタ未登録です。/",
                              "1/5/XX-004/サイズマスタに未登録です/サイズキー=BX0105",
                              "1/6/XX-004/TARVOLINサイズマスタに未登録です/ROW=05,サイズ区分=X01B",
                              "1/7/XX-004/ROWマスタに未登録です/ROW=05",
                              "2/1/TK-002/QN9001が品質マスタ未登録です。/",
                          }));
    EXPECT_EQ(value("FLG1", 1), "1");
    EXPECT_EQ(value("FLG1", 2), "1");
    EXPECT_EQ(value("FLG1", 3), "0");
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // A blank key in the quality master answers the second pass.
    db().exec("INSERT INTO MST_QUL(QUL_KEY) VALUES('')");
    EXPECT_EQ(check(), Outcome::Done);
    EXPECT_EQ(findings().filter("1/4/").first(),
              "1/4/XX-004/サイズマスタに未登録です/サイズキー=BX0105");
}

TEST_P(OrderCheckTest, SizeClassUsesTheClearedEndCode)
{
    addLine(1, {{"S_TBL", "X"}, {"S_FLD", "01"}, {"S_END", "A"}, {"ROW", "05"}});
    EXPECT_EQ(check(), Outcome::Done);
    EXPECT_EQ(findings().filter("サイズ").join('|'),
              "1/1/TK-001/サイズマスタに未登録です/サイズキー=X0105|"
              "1/2/TK-001/TARVOLINサイズマスタに未登録です/ROW=05,サイズ区分=X01");
}

TEST_P(OrderCheckTest, RecheckReplacesTheDaysFindingsAndLeavesOtherDaysMarked)
{
    addLine(1, {{"ROW", "09"}});
    addLine(1, {{"ROW", "09"}}, "20261207");
    EXPECT_EQ(check("20261207"), Outcome::Done);
    EXPECT_EQ(check(), Outcome::Done);
    EXPECT_EQ(findings().size(), 3);
    EXPECT_EQ(value("FLG1", 1, "20261207"), "1");

    db().exec("INSERT INTO MST_ROW(ROW) VALUES('09')");
    db().exec("INSERT INTO MST_TARVOLIN_SIZE(ROW, SIZE_KBN) VALUES('09', 'M02')");
    EXPECT_EQ(check(), Outcome::Done);
    EXPECT_EQ(findings().size(), 1); // the size key M0209 is still unknown
    EXPECT_EQ(findings().first(), "1/1/TK-001/サイズマスタに未登録です/サイズキー=M0209");
    db().exec("INSERT INTO MST_SIZ(SIZE_KEY) VALUES('M0209')");
    EXPECT_EQ(check(), Outcome::Done);
    EXPECT_TRUE(findings().isEmpty());
    EXPECT_EQ(value("FLG1", 1), "0");
    // The other day was not checked again: its line and findings stay as they were.
    EXPECT_EQ(value("FLG1", 1, "20261207"), "1");
    EXPECT_EQ(findings("20261207").size(), 3);
}

TEST_P(OrderCheckTest, AFailingCheckShowsItsMessageAndTheOthersStillRun)
{
    addLine(1, {{"HINBAN", "ZZ1000"}, {"ROW", "09"}});
    db().exec("DROP TABLE MST_SIZ");
    EXPECT_EQ(check(), Outcome::Done);
    ASSERT_EQ(dialogs.messages().size(), 2);
    EXPECT_EQ(dialogs.messages().at(1), "サイズマスタチェック中にエラーが発生");
    EXPECT_EQ(dialogs.shown.at(0).icon, Icon::Error);
    EXPECT_EQ(dialogs.shown.at(1).icon, Icon::Error);
    EXPECT_EQ(findings().join('|'),
              "1/1/TK-001/品番区分マスタに未登録です/品番区分=ZZ|"
              "1/2/TK-001/TARVOLINサイズマスタに未登録です/ROW=09,サイズ区分=M02|"
              "1/3/TK-001/ROWマスタに未登録です/ROW=09");
    EXPECT_EQ(value("FLG1", 1), "1");
}

TEST_P(OrderCheckTest, FailingEnrichmentChangesNothingAndFails)
{
    addLine(1, {{"ROW", "09"}});
    db().exec(
        "INSERT INTO TBL_ERR(IMP_DATE, IMP_LN, ERR_LN, ERR2) VALUES('20261208', 1, 1, 'old')");
    db().exec("DROP TABLE MST_BRAND");
    EXPECT_EQ(check(), Outcome::Failed);
    EXPECT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.shown.first().icon, Icon::Error);
    EXPECT_EQ(value("HINBAN_KBN", 1), ""); // rolled back with the rest
    EXPECT_EQ(findings(), QStringList({"1/1//old/"}));
    EXPECT_EQ(db().transactionDepth(), 0);
}

TEST_P(OrderCheckTest, RepeatedEnrichmentOfACompletedDayRewritesNothing)
{
    addLine(1, {{"S_END", "A"}, {"SCN", "C"}, {"S_TBL", "K"}, {"S_FLD", "01"}, {"SU", 500}});
    addLine(2, {{"HINBAN", "XY0001"}, {"COL", ""}});
    EXPECT_EQ(check(), Outcome::Done);
    EXPECT_EQ(db().exec(enrichmentStatement(), {{"d", "20261208"}}), 0);
}

TEST_P(OrderCheckTest, ErrAddNumbersFindingsPerLine)
{
    addFinding(db(), "20261208", 4, "TK-001", "a'b", "c");
    addFinding(db(), "20261208", 4, "TK-001", "d", "e");
    addFinding(db(), "20261208", 5, "TK-002", "f", "");
    EXPECT_EQ(findings(), QStringList({"4/1/TK-001/a'b/c", "4/2/TK-001/d/e", "5/1/TK-002/f/"}));
}

TEST_P(OrderCheckTest, QualityMasterCheckForTheRunningConversion)
{
    addLine(1, {{"QUL_KEY", "QN2"}, {"FLG2", "1"}});
    addLine(2, {{"QUL_KEY", "QN1"}, {"FLG2", "1"}});
    addLine(3, {{"QUL_KEY", "QN1"}, {"FLG2", "1"}}, "20261101");
    addLine(4, {{"QUL_KEY", "QN3"}, {"FLG2", "0"}});
    addLine(5, {{"QUL_KEY", "CT1000"}, {"FLG2", "1"}});
    EXPECT_EQ(checkRunQualityKeys(db(), dialogs), Outcome::Refused);
    EXPECT_EQ(dialogs.messages(), QStringList({"品質マスタ未登録です。\r\n\r\nQN1",
                                               "品質マスタ未登録です。\r\n\r\nQN2"}));
    dialogs.clear();
    db().exec("UPDATE TBL_ORDER SET FLG2 = '0'");
    EXPECT_EQ(checkRunQualityKeys(db(), dialogs), Outcome::Done);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_P(OrderCheckTest, EachFailingCheckNamesItself)
{
    const struct {
        const char *table;
        const char *message;
    } cases[] = {
        {"MST_HINBANKUBUN", "ブランドチェック中にエラーが発生"},
        {"MST_FACTORY", "工場マスタチェック中にエラーが発生"},
        {"MST_QUL", "品質マスタチェック中にエラーが発生"},
        {"MST_SIZ", "サイズマスタチェック中にエラーが発生"},
        {"MST_TARVOLIN_SIZE", "TARVOLINサイズマスタチェック中にエラーが発生"},
        {"MST_ROW", "ROWマスタチェック中にエラーが発生"},
    };
    addLine(1);
    for (const auto &c : cases) {
        // The table goes away inside a transaction that is rolled back afterwards.
        db().begin();
        db().exec(QStringLiteral("ALTER TABLE %1 RENAME TO GONE").arg(c.table));
        dialogs.clear();
        if (QString(c.table) == "MST_HINBANKUBUN" || QString(c.table) == "MST_FACTORY") {
            // These masters feed the enrichment too: its failure comes first and stops all.
            EXPECT_EQ(check(), Outcome::Failed);
            EXPECT_EQ(dialogs.messages().size(), 1) << c.table;
        } else {
            EXPECT_EQ(check(), Outcome::Done);
            ASSERT_EQ(dialogs.messages().size(), 2) << c.table;
            EXPECT_EQ(dialogs.messages().at(1), QString::fromUtf8(c.message));
        }
        db().rollback();
    }
}

TEST_P(OrderCheckTest, ConvertedAndConfirmedLinesKeepWhatWasPrintedAndEveryChangeIsInTheTrail)
{
    addLine(1);
    addLine(2, {{"FLG3", "1"}, {"B1", "2026/12/08 10:00:00"}});
    addLine(3, {{"FLG4", "1"}, {"FLG1", "1"}, {"ROW", "08"}});
    db().exec("INSERT INTO TBL_ERR(IMP_DATE, IMP_LN, ERR_LN, ERR1, ERR2, ERR3) "
              "VALUES('20261208', 3, 1, 'TK-001', 'ROWマスタに未登録です', 'ROW=08')");
    addLine(4, {{"ROW", "09"}});
    ASSERT_EQ(checkDay(db(), dialogs, progress, "20261208", CheckCaller::Import), Outcome::Done);
    EXPECT_EQ(value("GENSAN1", 1), "日本製");
    EXPECT_EQ(value("GENSAN1", 2), ""); // converted before it was ever completed: left so
    EXPECT_EQ(value("FLG1", 4), "1");
    EXPECT_EQ(count("TBL_ORDER_LOG"), 0); // the import completes new lines, nothing changed

    db().exec("UPDATE MST_FACTORY SET GENSAN = 'ベトナム製' WHERE FC_RG = 'TK'");
    db().exec("INSERT INTO MST_ROW(ROW) VALUES('09')");
    db().exec("INSERT INTO MST_TARVOLIN_SIZE(ROW, SIZE_KBN) VALUES('09', 'M02')");
    db().exec("INSERT INTO MST_SIZ(SIZE_KEY) VALUES('M0209')");
    ASSERT_EQ(check(), Outcome::Done);

    EXPECT_EQ(value("GENSAN1", 1), "ベトナム製");
    EXPECT_EQ(value("GENSAN1", 2), "");
    EXPECT_EQ(value("GENSAN1", 3), "");
    EXPECT_EQ(value("FLG1", 3), "1"); // a confirmed line keeps its mark and its finding
    EXPECT_EQ(findings(), QStringList{"3/1/TK-001/ROWマスタに未登録です/ROW=08"});
    EXPECT_EQ(value("FLG1", 4), "0");
    QStringList trail;
    for (const QSqlRecord &r :
         db().rows("SELECT IMP_LN, COL_NM, OLD_VALUE, NEW_VALUE, CHANGE_KBN FROM TBL_ORDER_LOG "
                   "ORDER BY IMP_LN, COL_NM"))
        trail << QStringList{r.value(0).toString(), r.value(1).toString(), r.value(2).toString(),
                             r.value(3).toString(), r.value(4).toString()}
                     .join('/');
    EXPECT_EQ(trail,
              QStringList({"1/GENSAN1/日本製/ベトナム製/マスタ参照", "4/FLG1/1/0/エラーチェック",
                           "4/GENSAN1/日本製/ベトナム製/マスタ参照"}));
}

TEST_P(OrderCheckTest, LotTotalsBeyondTheIntegerRangeAreKeptWholeOnBothEngines)
{
    addLine(1, {{"SU", 2147483647}});
    addLine(2, {{"SU", 2147483647}});
    addLine(3, {{"SU", 3}});
    ASSERT_EQ(check(), Outcome::Done) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(value("LOT_SU", 1), "4294967297");
    EXPECT_EQ(value("LOT_AVG", 3), "1431655765");
}
