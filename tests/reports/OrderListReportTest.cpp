#include "ReportTest.h"

#include "OrderListReport.h"

class OrderListReportTest : public ReportTest {
protected:
    Outcome print() { return OrderListReport::print(engine, request()); }
};
INSTANTIATE_ENGINES(OrderListReportTest);

TEST_P(OrderListReportTest, SixtyLinesGiveThreePagesWithTheTotalOnlyOnTheLast)
{
    addLines(60, {{QStringLiteral("SU"), 5}});
    ASSERT_EQ(print(), Outcome::Done);
    ASSERT_EQ(pages().size(), 3);
    EXPECT_EQ(linesOn(pages()[0]), 29);
    EXPECT_EQ(linesOn(pages()[1]), 29);
    EXPECT_EQ(linesOn(pages()[2]), 2);
    for (int p = 0; p < 3; ++p) {
        const RecordedPage &page = pages()[p];
        EXPECT_EQ(page.text(QStringLiteral("Page")), QString::number(p + 1));
        EXPECT_EQ(page.text(QStringLiteral("Date")), QStringLiteral("2026/12/08 10:00:00"));
        EXPECT_EQ(page.text(QStringLiteral("FN")), QStringLiteral("第一工場"));
        // The first line of every page shows all four repeatable values, the second none.
        EXPECT_EQ(page.text(QStringLiteral("LotNo1")), QStringLiteral("L001"));
        EXPECT_EQ(page.text(QStringLiteral("KanriNo1")), QStringLiteral("AB-001"));
        EXPECT_EQ(page.text(QStringLiteral("Tuki1")), QStringLiteral("2026"));
        EXPECT_EQ(page.text(QStringLiteral("Hinban1")), QStringLiteral("H100"));
        EXPECT_EQ(page.text(QStringLiteral("LotNo2")), QString());
        EXPECT_EQ(page.sectionShown(QStringLiteral("Footer")), p == 2);
    }
    EXPECT_EQ(pages()[2].text(QStringLiteral("NameKei")), QStringLiteral("300"));
    EXPECT_EQ(pages()[1].text(QStringLiteral("NameKei")), QString());
    EXPECT_EQ(opened.size(), 1);
}

TEST_P(OrderListReportTest, ExactlyTwentyNineLinesFitOnePageWithItsFooter)
{
    addLines(29);
    ASSERT_EQ(print(), Outcome::Done);
    ASSERT_EQ(pages().size(), 1);
    EXPECT_EQ(linesOn(pages()[0]), 29);
    EXPECT_TRUE(pages()[0].sectionShown(QStringLiteral("Footer")));
    EXPECT_EQ(pages()[0].text(QStringLiteral("NameKei")), QStringLiteral("290"));
}

TEST_P(OrderListReportTest, RepeatedLotControlNumberYearAndProductAreLeftBlank)
{
    // Same lot, control number and product in two colours; then a new control number in the
    // same lot; then a new lot.
    addLine({{QStringLiteral("COL"), QStringLiteral("01")}});
    addLine({{QStringLiteral("COL"), QStringLiteral("02")}});
    addLine({{QStringLiteral("KNR_NO"), QStringLiteral("AB-002")}});
    addLine({{QStringLiteral("KNR_NO"), QStringLiteral("AB-003")},
             {QStringLiteral("LOT_NO"), QStringLiteral("L002")}});
    ASSERT_EQ(print(), Outcome::Done);
    ASSERT_EQ(pages().size(), 1);
    const RecordedPage &page = pages()[0];
    auto line = [&](int n) {
        QStringList cells;
        for (const char *f :
             {"LotNo", "KanriNo", "Tuki", "Hinban", "Name", "Su", "Color", "SizeView"})
            cells << page.text(QLatin1String(f) + QString::number(n));
        return cells.join(QLatin1Char('|'));
    };
    EXPECT_EQ(line(1), QStringLiteral("L001|AB-001|2026|H100|C1|10|01|M"));
    EXPECT_EQ(line(2), QStringLiteral("||||C1|10|02|M"));
    EXPECT_EQ(line(3), QStringLiteral("|AB-002|2026|H100|C1|10|01|M"));
    EXPECT_EQ(line(4), QStringLiteral("L002|AB-003|2026|H100|C1|10|01|M"));
}

TEST_P(OrderListReportTest, ControlNumbersPastNineHundredNinetyNinePrintWholeInNumberOrder)
{
    // Line order alone would put AB-1000 first, text order before AB-999.
    for (const char *knrNo : {"AB-1000", "AB-999", "AB-1001"})
        addLine({{QStringLiteral("KNR_NO"), QLatin1String(knrNo)}});
    ASSERT_EQ(print(), Outcome::Done);
    ASSERT_EQ(pages().size(), 1);
    EXPECT_EQ(pages()[0].text(QStringLiteral("KanriNo1")), QStringLiteral("AB-999"));
    EXPECT_EQ(pages()[0].text(QStringLiteral("KanriNo2")), QStringLiteral("AB-1000"));
    EXPECT_EQ(pages()[0].text(QStringLiteral("KanriNo3")), QStringLiteral("AB-1001"));
}

TEST_P(OrderListReportTest, QuantitiesAndTheTotalPrintWithThousandsSeparators)
{
    addLine({{QStringLiteral("SU"), 1234}, {QStringLiteral("COL"), QStringLiteral("01")}});
    addLine({{QStringLiteral("SU"), 66}, {QStringLiteral("COL"), QStringLiteral("02")}});
    ASSERT_EQ(print(), Outcome::Done);
    EXPECT_EQ(pages()[0].text(QStringLiteral("Su1")), QStringLiteral("1,234"));
    EXPECT_EQ(pages()[0].text(QStringLiteral("NameKei")), QStringLiteral("1,300"));
}

TEST_P(OrderListReportTest, GroupsFollowSetDateBrandAndRegionAndLinesFollowOriginAndNameType)
{
    const QString s = QStringLiteral("SET_DATE"), b = QStringLiteral("BR_CD"),
                  r = QStringLiteral("FC_RG");
    addLine(
        {{s, QStringLiteral("2026/12/20")}, {b, QStringLiteral("A")}, {r, QStringLiteral("AA")}});
    addLine(
        {{s, QStringLiteral("2026/12/15")}, {b, QStringLiteral("B")}, {r, QStringLiteral("AA")}});
    addLine(
        {{s, QStringLiteral("2026/12/15")}, {b, QStringLiteral("A")}, {r, QStringLiteral("ZZ")}});
    addLine({{s, QStringLiteral("2026/12/15")},
             {b, QStringLiteral("A")},
             {r, QStringLiteral("AA")},
             {QStringLiteral("GENSAN"), QStringLiteral("日本")},
             {QStringLiteral("CAR_CD"), QStringLiteral("C1")}});
    addLine({{s, QStringLiteral("2026/12/15")},
             {b, QStringLiteral("A")},
             {r, QStringLiteral("AA")},
             {QStringLiteral("GENSAN"), QStringLiteral("中国")},
             {QStringLiteral("CAR_CD"), QStringLiteral("C2")}});
    addLine({{s, QStringLiteral("2026/12/15")},
             {b, QStringLiteral("A")},
             {r, QStringLiteral("AA")},
             {QStringLiteral("GENSAN"), QStringLiteral("中国")},
             {QStringLiteral("CAR_CD"), QStringLiteral("C0")}});
    ASSERT_EQ(print(), Outcome::Done);
    QStringList order;
    for (const RecordedPage &p : pages())
        order << p.text(QStringLiteral("SetBi")) + QLatin1Char(' ') +
                     p.text(QStringLiteral("Brand")) + QLatin1Char(' ') +
                     p.text(QStringLiteral("FR")) + QLatin1Char(' ') +
                     p.text(QStringLiteral("Page"));
    EXPECT_EQ(
        order,
        QStringList({QStringLiteral("2026/12/15 A AA 1"), QStringLiteral("2026/12/15 A ZZ 2"),
                     QStringLiteral("2026/12/15 B AA 3"), QStringLiteral("2026/12/20 A AA 4")}));
    // 中国 sorts before 日本 by code point; within 中国, C0 before C2.
    const RecordedPage &first = pages()[0];
    EXPECT_EQ(first.text(QStringLiteral("Name1")) + first.text(QStringLiteral("Name2")) +
                  first.text(QStringLiteral("Name3")),
              QStringLiteral("C0C2C1"));
}

TEST_P(OrderListReportTest, EqualSortKeysFollowTheLineNumber)
{
    for (int i = 0; i < 6; ++i)
        addLine({{QStringLiteral("SU"), 100 - i}});
    ASSERT_EQ(print(), Outcome::Done);
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(pages()[0].text(QStringLiteral("Su") + QString::number(n)),
                  QString::number(101 - n));
}

TEST_P(OrderListReportTest, EmptyWorkTablePrintsNothing)
{
    EXPECT_EQ(print(), Outcome::Refused);
    EXPECT_TRUE(pages().isEmpty());
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(dialogs.shown.isEmpty());
}
