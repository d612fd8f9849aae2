#include "ConfirmedOrderQuery.h"
#include "DbTest.h"
#include "OrderColumnValues.h"
#include "OrderLinesFixture.h"

#include <QSqlRecord>

using namespace OrderLinesFixture;

TEST(ConfirmedOrderQuery, WherePartHasOneTermPerFilterGiven)
{
    ConfirmedOrderFilters f;
    EXPECT_EQ(ConfirmedOrderQuery::wherePart(f), QStringLiteral("Where FLG4 = '1' "));
    f.setDate2 = QStringLiteral("2026/12/31");
    EXPECT_EQ(ConfirmedOrderQuery::wherePart(f),
              QStringLiteral("Where FLG4 = '1' And SET_DATE <= '2026/12/31' "));
    f.setDate1 = QStringLiteral("2026/12/01");
    f.impDate = QStringLiteral("20261208");
    f.lotNo = QStringLiteral("L1");
    f.hinban = QStringLiteral("H'1");
    f.row = QStringLiteral("01");
    f.seisanTuki = QStringLiteral("12");
    f.carCd = QStringLiteral("A");
    EXPECT_EQ(ConfirmedOrderQuery::wherePart(f),
              QStringLiteral("Where FLG4 = '1' And IMP_DATE = '20261208' And SET_DATE Between "
                             "'2026/12/01' And '2026/12/31' And LOT_NO = 'L1' And HINBAN = 'H''1' "
                             "And ROW = '01' And SEISAN_TUKI = '12' And CAR_CD = 'A' "));
    f = {};
    f.setDate1 = QStringLiteral("2026/12/01");
    EXPECT_EQ(ConfirmedOrderQuery::wherePart(f),
              QStringLiteral("Where FLG4 = '1' And SET_DATE >= '2026/12/01' "));
}

class ConfirmedOrderQueryDbTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Line l;
        l.flg4 = QStringLiteral("1");
        l.b2 = QStringLiteral("2026/12/09 17:00:00");
        l.impDate = QStringLiteral("20261208");
        l.ln = 2;
        l.knrNo = QStringLiteral("AB-002");
        l.hinban = QStringLiteral(" H2 ");
        add(db(), l);
        l.ln = 1;
        l.knrNo = QStringLiteral("AB-001");
        l.hinban = QStringLiteral("H1");
        add(db(), l);
        l.impDate = QStringLiteral("20261130");
        l.knrNo = QStringLiteral("CD-009");
        l.fcRnm = QStringLiteral("南工場");
        l.setDate = QStringLiteral("2026/11/30");
        add(db(), l);
        l.impDate = QStringLiteral("20261209"); // not confirmed
        l.flg4 = QStringLiteral("0");
        l.hinban = QStringLiteral("H9");
        add(db(), l);
    }
};
INSTANTIATE_ENGINES(ConfirmedOrderQueryDbTest);

TEST_P(ConfirmedOrderQueryDbTest, TheQueryListsConfirmedLinesUnderTheirJapaneseHeadings)
{
    Line past999; // AB-1000 comes after AB-999, which text order reverses
    past999.flg4 = QStringLiteral("1");
    past999.ln = 3;
    past999.knrNo = QStringLiteral("AB-1000");
    add(db(), past999);
    past999.ln = 4;
    past999.knrNo = QStringLiteral("AB-999");
    add(db(), past999);
    const QList<QSqlRecord> rows = db().rows(ConfirmedOrderQuery::sql({}));
    ASSERT_EQ(rows.size(), 5);
    const QSqlRecord &first = rows[0];
    EXPECT_EQ(first.fieldName(0), QStringLiteral("処理日"));
    EXPECT_EQ(first.fieldName(10), QStringLiteral("管理No")); // the case survives PostgreSQL
    EXPECT_EQ(first.fieldName(19), QStringLiteral("COL"));
    EXPECT_EQ(first.fieldName(32), QStringLiteral("確定日"));
    EXPECT_EQ(first.count(), 33);
    QStringList order;
    for (const QSqlRecord &r : rows)
        order << r.value(QStringLiteral("処理日")).toString() + "/" + r.value("管理No").toString();
    EXPECT_EQ(order, QStringList({"20261130/CD-009", "20261208/AB-001", "20261208/AB-002",
                                  "20261208/AB-999", "20261208/AB-1000"}));
    EXPECT_EQ(
        OrderColumnValues::ofImportDate(db(), QStringLiteral("KNR_NO"), QStringLiteral("20261208")),
        QStringList({"AB-001", "AB-002", "AB-999", "AB-1000"}));
    EXPECT_EQ(first.value(QStringLiteral("略号")).toString(), QStringLiteral("南工場"));
    EXPECT_EQ(first.value(QStringLiteral("確定日")).toString(),
              QStringLiteral("2026/12/09 17:00:00"));

    ConfirmedOrderFilters f;
    f.setDate2 = QStringLiteral("2026/12/01");
    EXPECT_EQ(db().rows(ConfirmedOrderQuery::sql(f)).size(), 1);
}

TEST_P(ConfirmedOrderQueryDbTest, ListsHoldTheDistinctValuesInTextOrder)
{
    EXPECT_EQ(OrderColumnValues::ofConfirmed(db(), QStringLiteral("IMP_DATE")),
              QStringList({"20261130", "20261208"}));
    // The reference keeps values as stored; the find dialog trims them.
    EXPECT_EQ(OrderColumnValues::ofConfirmed(db(), QStringLiteral("HINBAN")),
              QStringList({" H2 ", "H1"}));
    EXPECT_EQ(
        OrderColumnValues::ofImportDate(db(), QStringLiteral("HINBAN"), QStringLiteral("20261208")),
        QStringList({"H2", "H1"}));
    EXPECT_EQ(OrderColumnValues::ofImportDate(db(), QStringLiteral("KNR_NO"),
                                              QStringLiteral("2026'1208")),
              QStringList());
    EXPECT_THROW(OrderColumnValues::ofConfirmed(db(), QStringLiteral("1; DROP TABLE X")), DbError);
}

TEST_P(ConfirmedOrderQueryDbTest, TypedSetDatesSelectTheDaysTheyNameWithOrWithoutLeadingZeros)
{
    // Confirmed lines besides the fixture's (set dates 2026/12/10 and 2026/11/30).
    const QStringList setDates = {"2026/12/05", "2026/12/09", "2026/12/15"};
    for (int i = 0; i < setDates.size(); ++i) {
        Line l;
        l.impDate = QStringLiteral("20261201");
        l.ln = i + 1;
        l.flg4 = QStringLiteral("1");
        l.setDate = setDates[i];
        add(db(), l);
    }
    struct Case {
        QString from, to;
        QStringList setDates;
    };
    const QList<Case> cases = {
        {"2026/12/9", "2026/12/31", {"2026/12/09", "2026/12/10", "2026/12/15"}},
        {"2026/12/9", "", {"2026/12/09", "2026/12/10", "2026/12/15"}},
        {"", "2026/12/9", {"2026/11/30", "2026/12/05", "2026/12/09"}},
        {"2026/12/15", "2026/12/9", {}}, // reversed: nothing, as for dates
    };
    for (const Case &c : cases) {
        ConfirmedOrderFilters f;
        f.setDate1 = c.from;
        f.setDate2 = c.to;
        QStringList found;
        for (const QSqlRecord &r : db().rows(QStringLiteral("Select SET_DATE From TBL_ORDER ") +
                                             ConfirmedOrderQuery::wherePart(f) +
                                             QStringLiteral("Group By SET_DATE Order By SET_DATE")))
            found << r.value(0).toString();
        EXPECT_EQ(found, c.setDates) << c.from.toStdString() << " - " << c.to.toStdString();
    }
}
