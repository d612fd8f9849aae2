#include "OrderFindCondition.h"
#include "ConditionText.h"
#include "DbTest.h"
#include "OrderColumnValues.h"
#include "OrderLinesFixture.h"

#include <QSqlQuery>

using namespace OrderLinesFixture;

namespace {
const QString kStart = QStringLiteral("Where IMP_DATE = '20261208' And FLG3 = '0' And FLG4 = '0' ");

OrderFindCriteria day()
{
    OrderFindCriteria c;
    c.impDate = QStringLiteral("20261208");
    return c;
}

QString conditionOf(const OrderFindCriteria &c)
{
    const OrderFindResult r = OrderFindCondition::build(c);
    EXPECT_TRUE(r.ok()) << r.refusal.toStdString();
    return conditionText(r.condition);
}

QString refusalOf(const OrderFindCriteria &c)
{
    const OrderFindResult r = OrderFindCondition::build(c);
    EXPECT_TRUE(r.condition.isEmpty());
    return r.refusal;
}
} // namespace

TEST(OrderFindCondition, NoCriterionGivesTheDaysUnconvertedUnconfirmedLines)
{
    EXPECT_EQ(conditionOf(day()), kStart);
    EXPECT_EQ(conditionText(OrderFindCondition::start(QStringLiteral("20261208"))), kStart);
}

TEST(OrderFindCondition, EveryCriterionAddsItsTermInTheDesksOrder)
{
    OrderFindCriteria c = day();
    c.qulKey = QStringLiteral("Q1");
    c.lotAvg2 = QStringLiteral("30");
    c.lotAvg1 = QStringLiteral("5");
    c.lotSu1 = QStringLiteral("12");
    c.lotNo = QStringLiteral("L0001");
    c.knrNo = QStringLiteral("AB-0%");
    c.hinban = QStringLiteral("H100");
    c.setDate2 = QStringLiteral("2026/12/31");
    c.carCd = QStringLiteral("A");
    c.flg5 = QStringLiteral("1");
    c.fcRg = QStringLiteral("AB");
    EXPECT_EQ(conditionOf(c), kStart +
                                  "And FC_RG = 'AB' And FLG5 = '1' And CAR_CD = 'A' "
                                  "And SET_DATE <= '2026/12/31' And HINBAN = 'H100' "
                                  "And KNR_NO Like 'AB-0%' And LOT_NO = 'L0001' And QUL_KEY = 'Q1' "
                                  "And LOT_SU >= '12' And LOT_AVG Between '5' And '30' ");
}

TEST(OrderFindCondition, OnlyAPercentSignSwitchesToLike)
{
    const QList<std::pair<QString OrderFindCriteria::*, QString>> likeable = {
        {&OrderFindCriteria::fcRg, "FC_RG"},
        {&OrderFindCriteria::hinban, "HINBAN"},
        {&OrderFindCriteria::knrNo, "KNR_NO"},
        {&OrderFindCriteria::lotNo, "LOT_NO"},
        {&OrderFindCriteria::qulKey, "QUL_KEY"}};
    for (const auto &[member, column] : likeable) {
        OrderFindCriteria c = day();
        c.*member = QStringLiteral("X1%");
        EXPECT_EQ(conditionOf(c), kStart + "And " + column + " Like 'X1%' ");
        c.*member = QStringLiteral("X1_*");
        EXPECT_EQ(conditionOf(c), kStart + "And " + column + " = 'X1_*' ");
        c.*member = QStringLiteral(" X1 "); // as typed, not trimmed
        EXPECT_EQ(conditionOf(c), kStart + "And " + column + " = ' X1 ' ");
    }
}

TEST(OrderFindCondition, RangesUseBetweenOnlyWhenBothBoundsAreGiven)
{
    OrderFindCriteria c = day();
    c.setDate2 = QStringLiteral("2026/12/31");
    EXPECT_EQ(conditionOf(c), kStart + "And SET_DATE <= '2026/12/31' ");
    c.setDate1 = QStringLiteral("2026/12/1"); // written as stored dates are: yyyy/mm/dd
    EXPECT_EQ(conditionOf(c), kStart + "And SET_DATE Between '2026/12/01' And '2026/12/31' ");
    c.setDate2.clear();
    EXPECT_EQ(conditionOf(c), kStart + "And SET_DATE >= '2026/12/01' ");

    c = day();
    c.lotSu2 = QStringLiteral("40");
    EXPECT_EQ(conditionOf(c), kStart + "And LOT_SU <= '40' ");
    c.lotSu1 = QStringLiteral(" 8");
    EXPECT_EQ(conditionOf(c), kStart + "And LOT_SU Between ' 8' And '40' ");
    c = day();
    c.lotAvg1 = QStringLiteral("+3");
    EXPECT_EQ(conditionOf(c), kStart + "And LOT_AVG >= '+3' ");
}

TEST(OrderFindCondition, EachRuleRefusesWithItsOwnMessage)
{
    const QList<std::pair<std::function<void(OrderFindCriteria &)>, QString>> cases = {
        {[](auto &c) { c.flg5 = "1%"; }, "特定変換でライク検索は出来ません。"},
        {[](auto &c) { c.flg5 = "2"; }, "特定変換では'0'か'1'を指定してください。"},
        {[](auto &c) { c.flg5 = " 1"; }, "特定変換では'0'か'1'を指定してください。"},
        {[](auto &c) { c.carCd = "A%"; }, "ネーム種でライク検索は出来ません。"},
        {[](auto &c) { c.setDate2 = "2026/12/%"; }, "セット日でライク検索は出来ません。"},
        {[](auto &c) { c.setDate1 = "2026/02/30"; }, "セット日に入力された値が日付型でないです。"},
        {[](auto &c) { c.setDate2 = "明日"; }, "セット日に入力された値が日付型でないです。"},
        {[](auto &c) { c.lotSu1 = "1%"; }, "ロット数でライク検索は出来ません。"},
        {[](auto &c) { c.lotSu1 = "abc"; }, "ロット数に入力された値が数値型でないです。"},
        {[](auto &c) { c.lotSu2 = "abc"; }, "ロット数に入力された値が数値型でないです。。"},
        {[](auto &c) { c.lotAvg2 = "%"; }, "ロット平均数でライク検索は出来ません。"},
        {[](auto &c) { c.lotAvg1 = "1-2"; }, "ロット平均数に入力された値が数値型でないです。"},
        {[](auto &c) { c.lotAvg2 = "x"; }, "ロット平均数に入力された値が数値型でないです。。"},
    };
    for (const auto &[fill, message] : cases) {
        OrderFindCriteria c = day();
        c.fcRg = QStringLiteral("AB"); // an accepted criterion before the failing one
        fill(c);
        EXPECT_EQ(refusalOf(c), message);
    }
}

TEST(OrderFindCondition, TheFirstFailingCriterionInTheDesksOrderWins)
{
    OrderFindCriteria c = day();
    c.lotAvg1 = QStringLiteral("x");
    c.lotSu2 = QStringLiteral("x");
    EXPECT_EQ(refusalOf(c), QStringLiteral("ロット数に入力された値が数値型でないです。。"));
    c.lotSu1 = QStringLiteral("x"); // the lower bound is looked at before the upper
    EXPECT_EQ(refusalOf(c), QStringLiteral("ロット数に入力された値が数値型でないです。"));
    c.setDate1 = QStringLiteral("x");
    EXPECT_EQ(refusalOf(c), QStringLiteral("セット日に入力された値が日付型でないです。"));
    c.setDate2 = QStringLiteral("%"); // Like before the date check
    EXPECT_EQ(refusalOf(c), QStringLiteral("セット日でライク検索は出来ません。"));
    c.carCd = QStringLiteral("%");
    EXPECT_EQ(refusalOf(c), QStringLiteral("ネーム種でライク検索は出来ません。"));
    c.flg5 = QStringLiteral("9");
    EXPECT_EQ(refusalOf(c), QStringLiteral("特定変換では'0'か'1'を指定してください。"));
    c.fcRg = QStringLiteral("%"); // 工場略号 accepts Like and has no check
    EXPECT_EQ(refusalOf(c), QStringLiteral("特定変換では'0'か'1'を指定してください。"));
}

TEST(OrderFindCondition, ApostrophesAreQuotedInEveryTerm)
{
    OrderFindCriteria c;
    c.impDate = QStringLiteral("2026'1208");
    c.fcRg = QStringLiteral("A'B%");
    c.carCd = QStringLiteral("O'K");
    c.hinban = QStringLiteral("H'1");
    EXPECT_EQ(conditionOf(c), QStringLiteral("Where IMP_DATE = '2026''1208' And FLG3 = '0' And "
                                             "FLG4 = '0' And FC_RG Like 'A''B%' And CAR_CD = "
                                             "'O''K' And HINBAN = 'H''1' "));
}

class OrderFindConditionDbTest : public DbTest {
protected:
    // ln of the lines the condition of c selects, in line order.
    QList<int> linesOf(const OrderFindCriteria &c)
    {
        QList<int> lines;
        const OrderFindResult found = OrderFindCondition::build(c);
        EXPECT_TRUE(found.ok()) << found.refusal.toStdString();
        db().forEach(QStringLiteral("Select IMP_LN From TBL_ORDER ") + found.condition.text() +
                         QStringLiteral(" Order By IMP_LN"),
                     found.condition.params(),
                     [&](const QSqlQuery &q) { lines << q.value(0).toInt(); });
        return lines;
    }
};
INSTANTIATE_ENGINES(OrderFindConditionDbTest);

TEST_P(OrderFindConditionDbTest, ConditionsSelectTheRightLinesOnEveryEngine)
{
    Line l;
    l.ln = 1;
    l.hinban = QStringLiteral("O'NEIL");
    l.lotSu = 8;
    l.lotAvg = 2;
    add(db(), l);
    l.ln = 2;
    l.hinban = QStringLiteral("H200");
    l.lotSu = 20;
    l.lotAvg = 1;
    l.setDate = QStringLiteral("2026/12/20");
    add(db(), l);
    l.ln = 3;
    l.fcRg = QStringLiteral("CD");
    l.hinban = QStringLiteral("H210");
    l.lotSu = 40;
    add(db(), l);
    l.ln = 4;
    l.flg3 = QStringLiteral("1"); // converted: never found by the edit screen's condition
    add(db(), l);

    OrderFindCriteria c = day();
    EXPECT_EQ(linesOf(c), QList<int>({1, 2, 3}));
    c.hinban = QStringLiteral("O'NEIL");
    EXPECT_EQ(linesOf(c), QList<int>{1});
    c.hinban = QStringLiteral("H2%");
    EXPECT_EQ(linesOf(c), QList<int>({2, 3}));
    c.hinban = QStringLiteral("h2%"); // Like compares case as typed on both engines
    EXPECT_EQ(linesOf(c), QList<int>{});

    c = day();
    c.lotSu1 = QStringLiteral("10");
    c.lotSu2 = QStringLiteral("20");
    EXPECT_EQ(linesOf(c), QList<int>{2});
    c.lotSu2.clear();
    EXPECT_EQ(linesOf(c), QList<int>({2, 3}));
    // A decimal bound works on PostgreSQL too, where '1.5' is no INTEGER.
    c = day();
    c.lotAvg1 = QStringLiteral("1.5");
    EXPECT_EQ(linesOf(c), QList<int>{1});
    c.lotAvg1 = QStringLiteral("99999999999");
    EXPECT_EQ(linesOf(c), QList<int>{});

    c = day();
    c.setDate1 = QStringLiteral("2026/12/15");
    c.fcRg = QStringLiteral("C%");
    EXPECT_EQ(linesOf(c), QList<int>{3});
}

TEST_P(OrderFindConditionDbTest, TypedSetDatesSelectTheDaysTheyNameWithOrWithoutLeadingZeros)
{
    const QStringList setDates = {"2026/12/05", "2026/12/09", "2026/12/15", "2026/12/31"};
    for (int i = 0; i < setDates.size(); ++i) {
        Line l;
        l.ln = i + 1;
        l.setDate = setDates[i];
        add(db(), l);
    }
    struct Case {
        QString from, to;
        QList<int> lines;
    };
    const QList<Case> cases = {
        {"2026/12/9", "2026/12/31", {2, 3, 4}}, // as text, "2026/12/9" lies after "2026/12/31"
        {"2026/12/9", "", {2, 3, 4}},
        {"", "2026/12/9", {1, 2}},
        {"2026/12/1", "2026/12/9", {1, 2}},
        {"2026/12/15", "2026/12/9", {}}, // reversed: nothing, as for dates
    };
    for (const Case &c : cases) {
        OrderFindCriteria criteria = day();
        criteria.setDate1 = c.from;
        criteria.setDate2 = c.to;
        EXPECT_EQ(linesOf(criteria), c.lines)
            << c.from.toStdString() << " - " << c.to.toStdString();
    }
}

// After a subset was given its printer, "the rest of the day" is the lines without one; the
// findings split the day as the conversion does. A value ending in a full-width blank is
// offered by the list as stored and finds its line.
TEST_P(OrderFindConditionDbTest, UnsetPrinterFindingsAndListedValuesSelectTheirLines)
{
    Line l;
    l.ln = 1;
    l.fcRg = QStringLiteral("NB");
    l.printer = QStringLiteral("凸版1号機");
    add(db(), l);
    l.ln = 2;
    l.fcRg = QStringLiteral("AB\u3000");
    l.printer = QStringLiteral("");
    add(db(), l);
    l.ln = 3;
    l.fcRg = QStringLiteral(" CD ");
    l.flg1 = QStringLiteral("1");
    add(db(), l);

    OrderFindCriteria c = day();
    c.printer = OrderFindCondition::unassignedPrinter();
    EXPECT_EQ(linesOf(c), QList<int>({2, 3}));
    c.findings = Findings::Without;
    EXPECT_EQ(linesOf(c), QList<int>{2});
    c.findings = Findings::With;
    EXPECT_EQ(linesOf(c), QList<int>{3});
    c.printer = QStringLiteral("凸版%");
    c.findings = OrderFindCondition::findingsOf(QStringLiteral("無し"));
    EXPECT_EQ(linesOf(c), QList<int>{1});

    const QStringList factories =
        OrderColumnValues::ofImportDate(db(), QStringLiteral("FC_RG"), QStringLiteral("20261208"));
    EXPECT_TRUE(factories.contains(QStringLiteral("AB\u3000")));
    EXPECT_TRUE(factories.contains(QStringLiteral("CD"))); // blanks (U+0020) are trimmed
    c = day();
    c.fcRg = QStringLiteral("AB\u3000");
    EXPECT_EQ(linesOf(c), QList<int>{2});
}
