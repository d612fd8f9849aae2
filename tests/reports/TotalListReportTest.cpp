#include "ReportTest.h"

#include "TotalListReport.h"

class TotalListReportTest : public ReportTest {
protected:
    Outcome print() { return TotalListReport::print(engine, request()); }
};
INSTANTIATE_ENGINES(TotalListReportTest);

TEST_P(TotalListReportTest, NineMaterialsGiveTwoPagesAndTheNextGroupANewOne)
{
    const QVariantMap factory = {{QStringLiteral("ADRESS1"), QStringLiteral("東京都墨田区")},
                                 {QStringLiteral("ADRESS2"), QStringLiteral("両国1-1")},
                                 {QStringLiteral("NOU_NO"), QStringLiteral("N1")},
                                 {QStringLiteral("OKR_NO"), QStringLiteral("O1")},
                                 {QStringLiteral("SEI_NO"), QStringLiteral("S1")},
                                 {QStringLiteral("FC_BIKO1"), QStringLiteral("午前着")}};
    addLines(9, factory, QStringLiteral("CAR_CD"));
    QVariantMap other = factory;
    other.insert(QStringLiteral("SET_DATE"), QStringLiteral("2026/12/31"));
    addLine(other);
    ASSERT_EQ(print(), Outcome::Done);
    ASSERT_EQ(pages().size(), 3);
    EXPECT_EQ(linesOn(pages()[0], QStringLiteral("Su"), 8), 8);
    EXPECT_EQ(linesOn(pages()[1], QStringLiteral("Su"), 8), 1);
    EXPECT_EQ(linesOn(pages()[2], QStringLiteral("Su"), 8), 1);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(pages()[p].text(QStringLiteral("Page")), QString::number(p + 1));
        // The continuation page carries the factory heading like the first.
        EXPECT_EQ(pages()[p].text(QStringLiteral("FName")), QStringLiteral("第一工場"));
        EXPECT_EQ(pages()[p].text(QStringLiteral("FAdress")),
                  QStringLiteral("東京都墨田区 両国1-1"));
        EXPECT_EQ(pages()[p].text(QStringLiteral("NCD")) + pages()[p].text(QStringLiteral("OCD")) +
                      pages()[p].text(QStringLiteral("TCD")) +
                      pages()[p].text(QStringLiteral("FBiko")),
                  QStringLiteral("N1O1S1午前着"));
    }
    EXPECT_EQ(pages()[1].text(QStringLiteral("SetBi")), QStringLiteral("2026/12/15"));
    EXPECT_EQ(pages()[2].text(QStringLiteral("SetBi")), QStringLiteral("2026/12/31"));
    // Lines follow the name type.
    EXPECT_EQ(pages()[0].text(QStringLiteral("Su1")), QStringLiteral("10"));
    EXPECT_EQ(pages()[0].text(QStringLiteral("Tosyou2_1")), QStringLiteral("洗濯ネーム"));
}

TEST_P(TotalListReportTest, FactoryShowsItsCodeInBracketsOnlyWhenThereIsOne)
{
    addLine({{QStringLiteral("FC_RG"), QStringLiteral("AB")},
             {QStringLiteral("FC_CD"), QStringLiteral("F01")}});
    addLine({{QStringLiteral("FC_RG"), QStringLiteral("CD")},
             {QStringLiteral("FC_CD"), QStringLiteral("")}});
    ASSERT_EQ(print(), Outcome::Done);
    ASSERT_EQ(pages().size(), 2);
    EXPECT_EQ(pages()[0].text(QStringLiteral("FR")), QStringLiteral("AB (F01)"));
    EXPECT_EQ(pages()[1].text(QStringLiteral("FR")), QStringLiteral("CD "));
}

TEST_P(TotalListReportTest, MaterialsAreSummedPerNameTypeAndRemark)
{
    const QVariantMap material = {{QStringLiteral("CAR_CD"), QStringLiteral("C1")},
                                  {QStringLiteral("SHO_NM1"), QStringLiteral("洗濯ネーム")},
                                  {QStringLiteral("SHO_NM2"), QStringLiteral("品質表示")},
                                  {QStringLiteral("D_SHO_CD"), QStringLiteral("D-1")},
                                  {QStringLiteral("O_SHO_CD"), QStringLiteral("O-1")}};
    QVariantMap a = material, b = material;
    a.insert(QStringLiteral("SHO_BIKO1"), QStringLiteral("サテン白"));
    b.insert(QStringLiteral("SHO_BIKO1"), QStringLiteral("サテン黒"));
    a.insert(QStringLiteral("SU"), 1000);
    addLine(a);
    a.insert(QStringLiteral("SU"), 500);
    addLine(a);
    b.insert(QStringLiteral("SU"), 7);
    addLine(b);
    ASSERT_EQ(print(), Outcome::Done);
    const RecordedPage &page = pages()[0];
    EXPECT_EQ(linesOn(page, QStringLiteral("Su"), 8), 2);
    EXPECT_EQ(page.text(QStringLiteral("SizaiMei1")) + QLatin1Char('=') +
                  page.text(QStringLiteral("Su1")),
              QStringLiteral("サテン白=1,500"));
    EXPECT_EQ(page.text(QStringLiteral("SizaiMei2")) + QLatin1Char('=') +
                  page.text(QStringLiteral("Su2")),
              QStringLiteral("サテン黒=7"));
    EXPECT_EQ(page.text(QStringLiteral("Tosyou1_1")), QStringLiteral("洗濯ネーム"));
    EXPECT_EQ(page.text(QStringLiteral("Tosyou2_1")), QStringLiteral("品質表示"));
    EXPECT_EQ(page.text(QStringLiteral("DasmerCD1")), QStringLiteral("D-1"));
    EXPECT_EQ(page.text(QStringLiteral("OsteraCD1")), QStringLiteral("O-1"));
}
