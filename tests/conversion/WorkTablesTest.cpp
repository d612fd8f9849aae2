#include "ConversionFixture.h"
#include "DbTest.h"

#include "WorkTables.h"

#include <QSqlRecord>

using namespace ConversionFixture;

class WorkTablesTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        loadMasters(db());
    }

    QSqlRecord row(const QString &table, int ln)
    {
        const auto rows = db().rows(QStringLiteral("SELECT * FROM ") + table +
                                        QStringLiteral(" WHERE IMP_LN = :ln"),
                                    {{QStringLiteral("ln"), ln}});
        return rows.isEmpty() ? QSqlRecord() : rows.first();
    }

    static QString text(const QSqlRecord &r, const char *column)
    {
        return r.value(QLatin1String(column)).toString();
    }
};
INSTANTIATE_ENGINES(WorkTablesTest);

TEST_P(WorkTablesTest, ProceduresTakeOnlyTheRunsLinesAndDeriveTheirColumnsFromTheMasters)
{
    OrderLine thermal;
    thermal.ln = 1;
    thermal.su = 120; // above the threshold: spare 10
    addLine(db(), thermal);
    OrderLine artwork = letterpress(thermal);
    artwork.ln = 2;
    artwork.su = 7;
    artwork.row = QStringLiteral("04");
    addLine(db(), artwork);
    OrderLine unknownMasters = thermal;
    unknownMasters.ln = 3;
    unknownMasters.carCd = QStringLiteral("ZZ");
    unknownMasters.qulKey = QStringLiteral("NOPE");
    unknownMasters.row = QStringLiteral("99");
    unknownMasters.fcRg = QStringLiteral("CD");
    unknownMasters.fcCd = QStringLiteral("999"); // MST_FACTORY has CD only with 002
    addLine(db(), unknownMasters);
    OrderLine notInRun = thermal;
    notInRun.ln = 4;
    addLine(db(), notInRun);
    db().exec(QStringLiteral("UPDATE TBL_ORDER SET FLG2 = '1' WHERE IMP_LN IN (1, 2, 3)"));
    // What an earlier run left must not survive.
    exec(db(), QStringLiteral("WRK_CSV_C"), {{"KNR_NO", "OLD-001"}, {"IMP_LN", 99}});
    exec(db(), QStringLiteral("WRK_RPT"), {{"KNR_NO", "OLD-001"}, {"IMP_LN", 99}});

    wc_csvh(db());
    wc_rpt(db());
    wc_csvc(db());

    EXPECT_EQ(count(QStringLiteral("WRK_CSV_C")), 2); // lines 1 and 3
    EXPECT_EQ(count(QStringLiteral("WRK_CSV_H")), 1); // line 2
    EXPECT_EQ(count(QStringLiteral("WRK_RPT")), 3);

    const QSqlRecord c = row(QStringLiteral("WRK_CSV_C"), 1);
    EXPECT_EQ(text(c, "LAYOUT"), QStringLiteral("N1112"));
    EXPECT_EQ(c.value(QStringLiteral("PRINT_SU")).toInt(), 120 + 10 + 3);
    EXPECT_EQ(c.value(QStringLiteral("ORDER_SU")).toInt(), 120);
    EXPECT_EQ(text(c, "SIZE0"), QStringLiteral("M"));
    EXPECT_EQ(c.value(QStringLiteral("SIZE_SORT_LV")).toInt(), 2);
    EXPECT_EQ(text(c, "SIZE_KBN"), QStringLiteral("X01"));
    EXPECT_EQ(text(c, "GENSAN"), QStringLiteral("日本製"));
    EXPECT_EQ(text(c, "QUL_NO"), QStringLiteral("QN1"));
    EXPECT_EQ(text(c, "SOS1"), QStringLiteral("綿"));
    EXPECT_EQ(text(c, "EFUKI1"), QStringLiteral("手洗い"));
    EXPECT_EQ(text(c, "SHO_NM2"), QStringLiteral("ケアラベル"));
    EXPECT_EQ(text(c, "B1"), QStringLiteral("表紙A"));
    EXPECT_EQ(text(c, "B20"), QString());
    EXPECT_EQ(c.value(QStringLiteral("GYOU")).toInt(), 1);
    EXPECT_EQ(text(c, "IMP_DATE"), kDay);

    const QSqlRecord missing = row(QStringLiteral("WRK_CSV_C"), 3);
    EXPECT_EQ(text(missing, "LAYOUT"), QString());
    EXPECT_EQ(text(missing, "SIZE0"), QString());
    EXPECT_EQ(missing.value(QStringLiteral("SIZE_SORT_LV")).toInt(), 0);
    EXPECT_EQ(text(missing, "SHO_NM1"), QString());

    const QSqlRecord h = row(QStringLiteral("WRK_CSV_H"), 2);
    EXPECT_EQ(text(h, "FILE_NM"), QStringLiteral("20261210_AB"));
    EXPECT_EQ(text(h, "SIZE0"), QStringLiteral("S"));

    const QSqlRecord r = row(QStringLiteral("WRK_RPT"), 1);
    EXPECT_EQ(text(r, "FC_BIKO1"), QStringLiteral("工場備考"));
    EXPECT_EQ(text(r, "ADRESS1"), QStringLiteral("東京都"));
    EXPECT_EQ(text(r, "OKR_NO"), QStringLiteral("K1"));
    EXPECT_EQ(text(r, "SHO_BIKO1"), QStringLiteral("備考C01"));
    EXPECT_EQ(text(r, "D_SHO_CD"), QStringLiteral("D-01"));
    EXPECT_EQ(text(r, "QUL_NO"), QStringLiteral("QN1"));
    EXPECT_EQ(r.value(QStringLiteral("SPARE_SU")).toInt(), 10);
    EXPECT_EQ(text(r, "DATA_FLG"), QStringLiteral("1"));
    EXPECT_EQ(text(row(QStringLiteral("WRK_RPT"), 3), "ADRESS1"), QString());
}

TEST_P(WorkTablesTest, AStepThatRunsOutOfTimeFailsWithItsDescriptionAndKeepsTheOldTable)
{
    {
        BulkInserter bulk(db(), QStringLiteral("TBL_ORDER"),
                          {QStringLiteral("IMP_DATE"), QStringLiteral("IMP_LN"),
                           QStringLiteral("QUL_KEY"), QStringLiteral("CAR_CD"),
                           QStringLiteral("FLG2")});
        for (int i = 1; i <= 40000; ++i)
            bulk.add({kDay, i, QStringLiteral("Q1"), QStringLiteral("C01"), QStringLiteral("1")});
        bulk.finish();
    }
    exec(db(), QStringLiteral("WRK_RPT"), {{"KNR_NO", "OLD-001"}});

    EXPECT_EQ(buildReportTable(db(), dialogs, /*timeoutMs*/ 1), Outcome::Failed);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_TRUE(dialogs.last().text.endsWith(QLatin1Char(')')));
    EXPECT_EQ(count(QStringLiteral("WRK_RPT")), 1);

    // The limit ends with the step: the next one runs to its end.
    dialogs.clear();
    EXPECT_EQ(buildReportTable(db(), dialogs), Outcome::Done)
        << dialogs.texts().join(' ').toStdString();
    EXPECT_EQ(count(QStringLiteral("WRK_RPT")), 40000);
}
