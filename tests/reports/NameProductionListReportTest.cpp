#include "ReportTest.h"

#include "NameProductionListReport.h"

class NameProductionListReportTest : public ReportTest {
protected:
    Outcome print() { return NameProductionListReport::print(engine, request()); }

    static QString sections(const RecordedPage &page)
    {
        QStringList shown;
        for (const char *s : {"Head", "Nodata_Header", "Data_Header", "Kei", "Footer"})
            if (page.sectionShown(QLatin1String(s)))
                shown << QLatin1String(s);
        return shown.join(QLatin1Char(','));
    }
};
INSTANTIATE_ENGINES(NameProductionListReportTest);

TEST_P(NameProductionListReportTest, ThirtyLinesGiveTwoDetailPagesAMaterialPageAndTheTotalsPage)
{
    addLines(30);
    ASSERT_EQ(print(), Outcome::Done);
    ASSERT_EQ(pages().size(), 4);
    EXPECT_EQ(linesOn(pages()[0]), 29);
    EXPECT_EQ(linesOn(pages()[1]), 1);
    EXPECT_EQ(pages()[0].text(QStringLiteral("Page")), QStringLiteral("1"));
    EXPECT_EQ(pages()[1].text(QStringLiteral("Page")), QStringLiteral("2"));
    EXPECT_EQ(pages()[1].text(QStringLiteral("LotNo1")), QStringLiteral("L001"));
    EXPECT_EQ(sections(pages()[0]), QStringLiteral("Head,Nodata_Header,Data_Header"));
    EXPECT_EQ(sections(pages()[1]), QStringLiteral("Head,Nodata_Header,Data_Header"));
    EXPECT_EQ(sections(pages()[2]), QStringLiteral("Head,Kei"));
    EXPECT_EQ(sections(pages()[3]), QStringLiteral("Footer"));
    // The material pages carry no date and page number.
    for (int p : {2, 3}) {
        EXPECT_FALSE(pages()[p].values.contains(QStringLiteral("Page")));
        EXPECT_FALSE(pages()[p].values.contains(QStringLiteral("Date")));
    }
    EXPECT_EQ(pages()[2].text(QStringLiteral("SizaiNM1")), QStringLiteral("洗濯ネーム"));
    EXPECT_EQ(pages()[2].text(QStringLiteral("PKei1")), QStringLiteral("300"));
    EXPECT_EQ(pages()[2].text(QStringLiteral("FN")), QStringLiteral("第一工場"));
    EXPECT_EQ(pages()[3].text(QStringLiteral("Soukei")), QStringLiteral("300"));
}

TEST_P(NameProductionListReportTest, DetailLinesCarryEveryColumn)
{
    addLine({{QStringLiteral("SU"), 1500},
             {QStringLiteral("SPARE_SU"), 75},
             {QStringLiteral("LOT_SU"), 12000},
             {QStringLiteral("ROW"), QStringLiteral("02")},
             {QStringLiteral("QUL_KEY"), QStringLiteral("Q1")},
             {QStringLiteral("QUL_NO"), QStringLiteral("K1")},
             {QStringLiteral("GENSAN"), QStringLiteral("日本")},
             {QStringLiteral("DATA_FLG"), QStringLiteral("1")}});
    addLine({{QStringLiteral("COL"), QStringLiteral("02")},
             {QStringLiteral("GENSAN"), QStringLiteral("日本")},
             {QStringLiteral("DATA_FLG"), QStringLiteral("0")}});
    addLine({{QStringLiteral("COL"), QStringLiteral("03")},
             {QStringLiteral("GENSAN"), QStringLiteral("日本")},
             {QStringLiteral("DATA_FLG"), QStringLiteral("")}});
    ASSERT_EQ(print(), Outcome::Done);
    const RecordedPage &page = pages()[0];
    QStringList first;
    for (const char *f :
         {"LotNo1", "KanriNo1", "Tuki1", "Hinban1", "Name1_1", "Su1", "YobiSu1", "Color1", "Row1",
          "SizeView1", "QulKey1", "QulKigou1", "Gensan1", "Printer1", "LotSu1"})
        first << page.text(QLatin1String(f));
    EXPECT_EQ(
        first.join(QLatin1Char('|')),
        QStringLiteral("L001|AB-001|2026|H100|洗濯ネーム|1,500|75|01|02|M|Q1|K1|日本|サ|12,000"));
    EXPECT_EQ(page.text(QStringLiteral("Printer2")), QStringLiteral("凸"));
    EXPECT_EQ(page.text(QStringLiteral("Printer3")), QString());
    EXPECT_EQ(page.text(QStringLiteral("LotNo2")), QString());
}

TEST_P(NameProductionListReportTest, FinalPageListsSeventeenMaterialsAndTotalsAllOfThem)
{
    for (int m = 20; m >= 1; --m)
        addLine(
            {{QStringLiteral("SHO_NM2"), QStringLiteral("資材%1").arg(m, 2, 10, QLatin1Char('0'))},
             {QStringLiteral("SU"), m * 100},
             {QStringLiteral("COL"), QString::number(m)}});
    ASSERT_EQ(print(), Outcome::Done);
    const RecordedPage &last = pages().last();
    EXPECT_EQ(last.text(QStringLiteral("SitajiMei1")), QStringLiteral("資材01　計"));
    EXPECT_EQ(last.text(QStringLiteral("Kei1")), QStringLiteral("100"));
    EXPECT_EQ(last.text(QStringLiteral("SitajiMei17")), QStringLiteral("資材17　計"));
    EXPECT_EQ(last.text(QStringLiteral("Kei17")), QStringLiteral("1,700"));
    EXPECT_FALSE(last.values.contains(QStringLiteral("SitajiMei18")));
    EXPECT_EQ(last.text(QStringLiteral("Soukei")), QStringLiteral("21,000")); // 100 * (1 + … + 20)
}

TEST_P(NameProductionListReportTest, LinesWithoutItemNameAreCountedAsUnknownMaterial)
{
    addLine({{QStringLiteral("SHO_NM2"), QStringLiteral("")}, {QStringLiteral("SU"), 7}});
    addLine({{QStringLiteral("SHO_NM2"), QStringLiteral("サイズネーム")},
             {QStringLiteral("SU"), 3},
             {QStringLiteral("COL"), QStringLiteral("02")}});
    ASSERT_EQ(print(), Outcome::Done);
    const RecordedPage &last = pages().last();
    EXPECT_EQ(last.text(QStringLiteral("SitajiMei1")), QStringLiteral("不明資材 計"));
    EXPECT_EQ(last.text(QStringLiteral("Kei1")), QStringLiteral("7"));
    EXPECT_EQ(last.text(QStringLiteral("SitajiMei2")), QStringLiteral("サイズネーム　計"));
}

TEST_P(NameProductionListReportTest, EachGroupHasItsMaterialPageAndTheRunOneTotalsPage)
{
    addLine({{QStringLiteral("FC_RG"), QStringLiteral("AA")},
             {QStringLiteral("FC_BIKO1"), QStringLiteral("午前着")},
             {QStringLiteral("SU"), 4}});
    addLine({{QStringLiteral("FC_RG"), QStringLiteral("AA")},
             {QStringLiteral("FC_BIKO1"), QStringLiteral("午前着")},
             {QStringLiteral("SU"), 6},
             {QStringLiteral("COL"), QStringLiteral("02")}});
    addLine({{QStringLiteral("FC_RG"), QStringLiteral("BB")}, {QStringLiteral("SU"), 5}});
    ASSERT_EQ(print(), Outcome::Done);
    ASSERT_EQ(pages().size(), 5);
    EXPECT_EQ(pages()[1].text(QStringLiteral("FR")), QStringLiteral("AA"));
    EXPECT_EQ(pages()[1].text(QStringLiteral("F_Bikou")), QStringLiteral("午前着"));
    EXPECT_EQ(pages()[1].text(QStringLiteral("PKei1")), QStringLiteral("10"));
    EXPECT_EQ(pages()[2].text(QStringLiteral("Page")), QStringLiteral("2"));
    EXPECT_EQ(pages()[3].text(QStringLiteral("FR")), QStringLiteral("BB"));
    EXPECT_EQ(pages()[3].text(QStringLiteral("PKei1")), QStringLiteral("5"));
    EXPECT_EQ(pages()[4].text(QStringLiteral("Soukei")), QStringLiteral("15"));
}

TEST_P(NameProductionListReportTest, MaterialsBeyondTheLayoutContinueOnAnotherMaterialPage)
{
    for (int m = 1; m <= 25; ++m)
        addLine(
            {{QStringLiteral("SHO_NM2"), QStringLiteral("資材%1").arg(m, 2, 10, QLatin1Char('0'))},
             {QStringLiteral("COL"), QString::number(m)}});
    ASSERT_EQ(print(), Outcome::Done);
    // detail, material pages, totals
    int materialPages = 0;
    QStringList names;
    for (const RecordedPage &page : pages()) {
        if (!page.sectionShown(QStringLiteral("Kei")))
            continue;
        ++materialPages;
        EXPECT_EQ(page.text(QStringLiteral("FN")), QStringLiteral("第一工場"));
        for (int i = 1; !page.text(QStringLiteral("SizaiNM") + QString::number(i)).isEmpty(); ++i)
            names << page.text(QStringLiteral("SizaiNM") + QString::number(i));
    }
    EXPECT_EQ(materialPages, 2);
    ASSERT_EQ(names.size(), 25);
    EXPECT_EQ(names.last(), QStringLiteral("資材25"));
}
