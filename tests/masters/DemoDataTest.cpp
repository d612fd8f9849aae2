#include "DbTest.h"

#include "DemoData.h"

#include <QSet>
#include <QSqlRecord>

class DemoDataTest : public DbTest {
protected:
    QStringList column(const QString &sql)
    {
        QStringList values;
        for (const QSqlRecord &r : db().rows(sql))
            values << r.value(0).toString();
        return values;
    }
};
INSTANTIATE_ENGINES(DemoDataTest);

TEST_P(DemoDataTest, MastersAreCompleteAndRealistic)
{
    DemoData::loadMasters(db());
    EXPECT_EQ(count(QStringLiteral("MST_CAR")), 12);
    const int qualities = count(QStringLiteral("MST_QUL"));
    EXPECT_GE(qualities, 20);
    EXPECT_LE(qualities, 40);
    EXPECT_EQ(column(QStringLiteral("SELECT DISTINCT GENSAN FROM MST_FACTORY ORDER BY GENSAN")),
              QStringList(
                  {QStringLiteral("中国製"), QStringLiteral("日本製"), QStringLiteral("韓国製")}));
    EXPECT_EQ(count(QStringLiteral("MST_FACTORY"),
                    QStringLiteral("length(FC_RG) <> 2 OR length(FC_CD) <> 6 OR NOU_NO = '' OR "
                                   "OKR_NO = '' OR SEI_NO = '' OR ADRESS1 = ''")),
              0);
    EXPECT_EQ(count(QStringLiteral("MST_BRAND"), QStringLiteral("BR_CD = 'OSTERA'")), 1);
    EXPECT_EQ(count(QStringLiteral("MST_PRINTER"), QStringLiteral("DATA_FLG = '1'")), 3);
    EXPECT_EQ(count(QStringLiteral("MST_PRINTER"), QStringLiteral("DATA_FLG = '0'")), 3);
    EXPECT_GT(count(QStringLiteral("MST_QULPLATE"), QStringLiteral("SU = 0")), 0);
    EXPECT_GT(count(QStringLiteral("MST_SIZ"), QStringLiteral("HAN_NO = ''")), 0);
    EXPECT_GT(count(QStringLiteral("MST_SIZ"), QStringLiteral("HAN_NO <> ''")),
              3 * count(QStringLiteral("MST_SIZ"), QStringLiteral("HAN_NO = ''")));
    // Name types with and without spare and spoilage counts, for the enrichment rules.
    EXPECT_GT(count(QStringLiteral("MST_CAR"), QStringLiteral("SPARE_SU0 = 0")), 0);
    EXPECT_GT(count(QStringLiteral("MST_CAR"), QStringLiteral("YARE_SU = 0")), 0);
    EXPECT_EQ(count(QStringLiteral("MST_CAR"), QStringLiteral("SHO_NM1 = '' OR O_SHO_CD = '' OR "
                                                              "D_SHO_CD = '' OR PRICE <= 0")),
              0);
    // Classes of both lengths, one without a brand (the enrichment gives it OSTERA).
    EXPECT_GT(count(QStringLiteral("MST_HINBANKUBUN"), QStringLiteral("length(HINBAN_KBN) = 3")),
              0);
    EXPECT_EQ(count(QStringLiteral("MST_HINBANKUBUN"), QStringLiteral("BR_CD = ''")), 1);
    EXPECT_EQ(count(QStringLiteral("MST_HINBANKUBUN H"),
                    QStringLiteral("H.BR_CD <> '' AND NOT EXISTS (SELECT 1 FROM MST_BRAND B "
                                   "WHERE B.BR_CD = H.BR_CD)")),
              0);
}

TEST_P(DemoDataTest, QualitiesFollowTheLayoutRuleAndUseKnownCareSymbols)
{
    DemoData::loadMasters(db());
    const QSet<QString> symbols = [&] {
        const QStringList list = column(QStringLiteral("SELECT EHJ_NO FROM MST_EHJ"));
        return QSet<QString>(list.cbegin(), list.cend());
    }();
    QSet<QString> layouts;
    for (const QSqlRecord &r : db().rows(QStringLiteral("SELECT * FROM MST_QUL"))) {
        const QString key = r.value(QStringLiteral("QUL_KEY")).toString();
        SCOPED_TRACE(key.toStdString());
        EXPECT_FALSE(key.contains(QLatin1Char(' ')));
        int lastRow = 0;
        for (int n = 1; n <= 10; ++n)
            for (const char *part : {"BUI", "SOS", "KON"})
                if (!r.value(QLatin1String(part) + QString::number(n)).toString().isEmpty())
                    lastRow = n;
        int lastSymbol = 0;
        for (int n = 1; n <= 6; ++n) {
            const QString symbol = r.value(QStringLiteral("EHJ%1").arg(n)).toString();
            if (symbol.isEmpty())
                continue;
            lastSymbol = n;
            EXPECT_TRUE(symbols.contains(symbol)) << symbol.toStdString();
        }
        const bool note1 = !r.value(QStringLiteral("EFUKI1")).toString().isEmpty();
        const bool note2 = !r.value(QStringLiteral("EFUKI2")).toString().isEmpty();
        EXPECT_GT(lastRow, 0);
        EXPECT_EQ(r.value(QStringLiteral("LAYOUT2")).toString(),
                  QString::number(lastSymbol <= 2   ? 1
                                  : lastSymbol <= 4 ? 2
                                                    : 3));
        EXPECT_EQ(r.value(QStringLiteral("LAYOUT3")).toString(),
                  QString::number(lastRow <= 6 ? 1 : 2));
        EXPECT_EQ(r.value(QStringLiteral("LAYOUT4")).toString(), QString::number(note2   ? 3
                                                                                 : note1 ? 2
                                                                                         : 1));
        layouts << r.value(QStringLiteral("LAYOUT2")).toString() +
                       r.value(QStringLiteral("LAYOUT3")).toString() +
                       r.value(QStringLiteral("LAYOUT4")).toString();
        EXPECT_TRUE(r.value(QStringLiteral("KON1")).toString().endsWith(QLatin1Char('%')));
    }
    // Every layout number occurs, so the card and CSV layouts all get exercised.
    for (const QString &digit : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}) {
        EXPECT_TRUE(std::any_of(layouts.cbegin(), layouts.cend(),
                                [&](const QString &l) { return l.at(0) == digit.at(0); }));
        EXPECT_TRUE(std::any_of(layouts.cbegin(), layouts.cend(),
                                [&](const QString &l) { return l.at(2) == digit.at(0); }));
    }
    EXPECT_TRUE(std::any_of(layouts.cbegin(), layouts.cend(),
                            [](const QString &l) { return l.at(1) == QLatin1Char('2'); }));
}

TEST_P(DemoDataTest, SizeMastersAgreeExceptForTheThreeKnownGaps)
{
    DemoData::loadMasters(db());
    // Pairs whose size key (end code + table + field + row) is not in the size master.
    const QStringList pairsWithoutSize = column(QStringLiteral(
        "SELECT T.ROW || '/' || T.SIZE_KBN FROM MST_TARVOLIN_SIZE T WHERE NOT EXISTS ("
        "SELECT 1 FROM MST_SIZ S WHERE S.SIZE_KEY = substr(T.SIZE_KBN, 4) || substr(T.SIZE_KBN, 1, "
        "3) "
        "|| T.ROW) ORDER BY 1"));
    EXPECT_EQ(pairsWithoutSize, QStringList({QStringLiteral("03/K07")}));
    const QStringList sizesWithoutPair = column(QStringLiteral(
        "SELECT S.SIZE_KEY FROM MST_SIZ S WHERE NOT EXISTS (SELECT 1 FROM MST_TARVOLIN_SIZE T "
        "WHERE substr(T.SIZE_KBN, 4) || substr(T.SIZE_KBN, 1, 3) || T.ROW = S.SIZE_KEY) ORDER BY "
        "1"));
    EXPECT_EQ(sizesWithoutPair, QStringList({QStringLiteral("F0102")}));
    const QStringList rowsMissing =
        column(QStringLiteral("SELECT DISTINCT T.ROW FROM MST_TARVOLIN_SIZE T WHERE NOT EXISTS ("
                              "SELECT 1 FROM MST_ROW R WHERE R.ROW = T.ROW) ORDER BY 1"));
    EXPECT_EQ(rowsMissing, QStringList({QStringLiteral("99")}));
    // Every colour-coded size table has its colours.
    EXPECT_EQ(
        count(QStringLiteral("MST_SIZ S"),
              QStringLiteral("substr(S.SIZE_KEY, 1, 1) IN ('M', 'L', 'K') AND NOT EXISTS ("
                             "SELECT 1 FROM MST_COL C WHERE C.S_TBL = substr(S.SIZE_KEY, 1, 1) "
                             "AND C.S_FLD = substr(S.SIZE_KEY, 2, 2))")),
        0);
}

TEST_P(DemoDataTest, BusinessMonthIsOpenedOnlyWhenNoneIsOpen)
{
    EXPECT_TRUE(DemoData::openBusinessMonth(db(), QDate(2026, 12, 8)));
    EXPECT_EQ(count(QStringLiteral("SYS_TUKI"),
                    QStringLiteral("NEN = '2026' AND TUKI = '12' AND KAKUTEI_FLG = '0'")),
              1);
    EXPECT_FALSE(DemoData::openBusinessMonth(db(), QDate(2027, 1, 5)));
    EXPECT_EQ(count(QStringLiteral("SYS_TUKI")), 1);

    db().exec(QStringLiteral("UPDATE SYS_TUKI SET KAKUTEI_FLG = '1'"));
    EXPECT_TRUE(DemoData::openBusinessMonth(db(), QDate(2027, 1, 5)));
    EXPECT_EQ(count(QStringLiteral("SYS_TUKI"), QStringLiteral("KAKUTEI_FLG = '0'")), 1);
    EXPECT_EQ(count(QStringLiteral("SYS_TUKI"), QStringLiteral("NEN = '2027' AND TUKI = '01'")), 1);
}
