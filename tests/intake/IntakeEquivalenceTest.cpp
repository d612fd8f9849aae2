// The import and the enrichment do their work in a few set-based writes; these tests hold them
// to the step-by-step form (ReferenceIntake.h) on random days that hit and miss every master:
// every column of every table the import writes must come out the same.
#include "DbTest.h"
#include "OrderFileBuilder.h"
#include "ReferenceIntake.h"

#include "FileImport.h"
#include "ImportRun.h"
#include "MasterChecks.h"
#include "MasterEnrichment.h"
#include "OrderBuild.h"

#include <QFile>
#include <QSqlRecord>

namespace {

// The same numbers on every platform (unlike <random>'s distributions).
class Random {
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    int below(int n)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return int((m_state >> 33) % quint64(n));
    }
    bool chance(int percent) { return below(100) < percent; }
    QString pick(const QStringList &list) { return list.at(below(int(list.size()))); }

private:
    quint64 m_state;
};

const QString kDay1 = "20261207";
const QString kDay2 = "20261208";

// Lot numbers shared by both days, and by the earlier day of the import test.
QString lotNo(Random &random)
{
    return QStringLiteral("JZ%1").arg(random.below(40), 5, 10, QLatin1Char('0'));
}

} // namespace

class IntakeEquivalenceTest : public DbTest {
protected:
    // Masters that answer some codes of every kind and not others; numbers around the edges
    // of the rules (thresholds and allowances of 0 and below, a blank master colour and brand).
    void loadRandomMasters(Random &random)
    {
        for (const char *table : {"K", "M", "L"})
            for (const char *field : {"01", "02", "03"})
                if (random.chance(60))
                    db().exec("INSERT INTO MST_COL(S_TBL, S_FLD, COL) VALUES(:t, :f, :c)",
                              {{"t", table}, {"f", field}, {"c", random.pick({"RD", "BL", ""})}});
        for (const char *car : {"A", "B", "C", "D", "E", "F"})
            db().exec("INSERT INTO MST_CAR(CAR_CD, SPARE_SU0, SPARE_SU1, SPARE_SU2, YARE_SU) "
                      "VALUES(:c, :s0, :s1, :s2, :y)",
                      {{"c", car},
                       {"s0", QList<int>{-5, 0, 50, 100, 100}.at(random.below(5))},
                       {"s1", random.below(10)},
                       {"s2", 10 + random.below(10)},
                       {"y", QList<int>{-1, 0, 20, 30}.at(random.below(4))}});
        const QStringList classes{"OS", "AB", "ABC", "NB", "O'S", "A", ""};
        for (const QString &kbn : classes)
            if (random.chance(70))
                db().exec("INSERT INTO MST_HINBANKUBUN(HINBAN_KBN, BR_CD) VALUES(:k, :b)",
                          {{"k", kbn}, {"b", random.pick({"OSBLUE", "ABCBR", "", "OSTERA"})}});
        db().exec("INSERT INTO MST_BRAND(BR_CD, BR_NM) VALUES('OSBLUE', 'オステラ ブルー')");
        if (random.chance(50))
            db().exec("INSERT INTO MST_BRAND(BR_CD, BR_NM) VALUES('OSTERA', 'オステラ')");
        db().exec("INSERT INTO MST_FACTORY(FC_RG, FC_CD, FC_RNM, FC_NM, GENSAN) "
                  "VALUES('TK', 'J13001', '東京', '東京縫製株式会社', '日本製')");
        db().exec("INSERT INTO MST_FACTORY(FC_RG, FC_CD, FC_RNM, FC_NM, GENSAN) "
                  "VALUES('SH', 'C31005', '上海', '上海服飾有限公司', '')");
        db().exec("INSERT INTO MST_QUL(QUL_KEY) VALUES('CT1000')");
        db().exec("INSERT INTO MST_SIZ(SIZE_KEY) VALUES('M0201')");
        db().exec("INSERT INTO MST_TARVOLIN_SIZE(ROW, SIZE_KBN) VALUES('01', 'M02')");
        db().exec("INSERT INTO MST_ROW(ROW) VALUES('01')");
        db().exec("INSERT INTO SYS_TUKI(NEN, TUKI, KAKUTEI_FLG) VALUES('2026', '12', '0')");
    }

    // A line of a day as the build or an earlier run may have left it: codes that hit and
    // miss the masters, and enriched columns that already hold something or nothing.
    void addRandomLine(Random &random, const QString &day, int ln)
    {
        const QVariantMap row{
            {"IMP_DATE", day},
            {"IMP_LN", ln},
            {"KNR_NO", "TK-001"},
            {"LOT_NO", lotNo(random)},
            {"FC_RG", random.pick({"TK", "SH", "XX"})},
            {"FC_CD", random.pick({"J13001", "C31005", "X0001"})},
            {"FC_NM", random.pick({"", "old"})},
            {"FC_RNM", random.pick({"", "old"})},
            {"GENSAN1", random.pick({"", "old"})},
            {"HINBAN", random.pick({"OS2101", "ABC123", "AB1234", "NB1000", "XY1000", "A", "",
                                    "AB$12", "O'S900", "ABｱ12"})},
            {"HINBAN_KBN", random.pick({"", "OS"})},
            {"BR_CD", random.pick({"", "", "OSBLUE", "OLD"})},
            {"BR_NM", random.pick({"", "old"})},
            {"COL", random.pick({"", "", "NV", "RD"})},
            {"SCN", random.pick({"C", "C", "X", ""})},
            {"S_TBL", random.pick({"K", "M", "L", "X"})},
            {"S_FLD", random.pick({"01", "02", "03", "09"})},
            {"S_END", random.pick({"A", "M", "B", "", "T"})},
            {"ROW", random.pick({"01", "02", "05"})},
            {"SIZE_KEY", random.pick({"", "AM0201"})},
            {"SU", QList<int>{0, 1, 49, 50, 51, 100, 101, 5000, -7}.at(random.below(9))},
            {"LOT_SU", random.below(3) * 10},
            {"LOT_AVG", random.below(3)},
            {"SPARE_SU", random.below(3) * 5},
            {"YARE_SU", random.below(2) * 20},
            {"CAR_CD", random.pick({"A", "B", "C", "D", "E", "F", "G", ""})},
            {"QUL_KEY", "CT1000"},
        };
        QStringList marks;
        for (const QString &c : row.keys())
            marks << ":" + c;
        db().exec("INSERT INTO TBL_ORDER(" + row.keys().join(',') + ") VALUES(" + marks.join(',') +
                      ")",
                  row);
    }

    // A day's file whose fields hit and miss every master, with blank and short dates, blanks
    // inside quality keys, blank and signed quantities and several factories.
    static QByteArray randomOrderFile(Random &random)
    {
        QList<OrderLine> lines;
        for (int i = 0; i < 300; ++i) {
            OrderLine line;
            line.set("FC_RG", random.pick({"TK", "TK", "SH", "XX", "", "ｱB"}))
                .set("FC_CD", random.pick({"J13001", "C31005", "X0001"}))
                .set("LOT_NO", lotNo(random))
                .set("SET_DATE", random.pick({"261210", "261211", "", "2612", "26121"}))
                .set("ORD_DATE", random.pick({"261201", "040115", "", "0401"}))
                .set("CAR_CD", random.pick({"A", "B", "C", "D", "G", ""}))
                .set("HINBAN", random.pick({"OS2101", "ABC123", "AB1234", "NB1000", "XY1000", "A",
                                            "", "AB$12", "O'S900"}))
                .set("S_END", random.pick({"A", "M", "B", ""}))
                .set("COL", random.pick({"", "NV", "RD"}))
                .set("SCN", random.pick({"C", "X", ""}))
                .set("QUL_KEY", random.pick({"CT1000", "CT 1000", "C T 10 0", "", "QN9001"}))
                .set("S_TBL", random.pick({"K", "M", "L", "X"}))
                .set("S_FLD", random.pick({"01", "02", "03"}))
                .set("ROW", random.pick({"01", "02", "05"}))
                .set("SU", random.pick({"", "0", "50", "51", "100", "101", "-7", "99999"}))
                .set("F17", random.pick({"", "ﾂｲｶ", "a'b"}));
            lines << line;
        }
        return orderFile(lines);
    }

    QString writeOrderFile(const QByteArray &file)
    {
        const QString name = path("order.txt");
        QFile out(name);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(file);
        return name;
    }

    // An earlier day whose lots the new day continues, and counters already running.
    void earlierDay(Random &random)
    {
        for (int ln = 1; ln <= 60; ++ln)
            addRandomLine(random, kDay1, ln);
        db().exec("INSERT INTO SYS_IMPDATE(IMP_DATE, KAKUTEI_FLG) VALUES(:d, '0')", {{"d", kDay1}});
        db().exec("INSERT INTO SYS_KNR_NO(ORD_NEN, ORD_TUKI, FC_RG, KNR_NO) "
                  "VALUES('2026', '12', 'TK', 995), ('2026', '11', 'SH', 4)");
    }

    // Every row of a table, every column, in key order: one text per row.
    QStringList snapshot(const QString &table, const QString &order)
    {
        QStringList rows;
        for (const QSqlRecord &r : db().rows("SELECT * FROM " + table + " ORDER BY " + order)) {
            QStringList values;
            for (int i = 0; i < r.count(); ++i)
                values << r.fieldName(i).toUpper() + "=" + r.value(i).toString();
            rows << values.join('|');
        }
        return rows;
    }

    QStringList orderLines() { return snapshot("TBL_ORDER", "IMP_DATE, IMP_LN"); }

    // Everything an import writes.
    QStringList importTables()
    {
        return QStringList{"TBL_ORDER"} + orderLines() + QStringList{"WRK_ORDER"} +
               snapshot("WRK_ORDER", "IMP_DATE, IMP_LN") + QStringList{"TBL_ERR"} +
               snapshot("TBL_ERR", "IMP_DATE, IMP_LN, ERR_LN") + QStringList{"SYS_IMPDATE"} +
               snapshot("SYS_IMPDATE", "IMP_DATE") + QStringList{"SYS_KNR_NO"} +
               snapshot("SYS_KNR_NO", "ORD_NEN, ORD_TUKI, FC_RG");
    }

    // The first row that differs, for a readable failure.
    static void expectSameRows(const QStringList &expected, const QStringList &actual,
                               const std::string &what)
    {
        ASSERT_EQ(expected.size(), actual.size()) << what;
        for (int i = 0; i < expected.size(); ++i)
            ASSERT_EQ(expected.at(i), actual.at(i)) << what << ", row " << i;
    }
};
INSTANTIATE_ENGINES(IntakeEquivalenceTest);

TEST_P(IntakeEquivalenceTest, ComposedEnrichmentGivesTheStepwiseResultOnRandomDays)
{
    for (quint64 seed : {1, 2, 3}) {
        Random random(seed);
        db().exec("DELETE FROM TBL_ORDER");
        for (const char *table :
             {"MST_COL", "MST_CAR", "MST_HINBANKUBUN", "MST_BRAND", "MST_FACTORY", "MST_QUL",
              "MST_SIZ", "MST_TARVOLIN_SIZE", "MST_ROW", "SYS_TUKI"})
            db().exec(QStringLiteral("DELETE FROM ") + table);
        loadRandomMasters(random);
        for (int ln = 1; ln <= 150; ++ln)
            addRandomLine(random, kDay1, ln);
        for (int ln = 1; ln <= 250; ++ln)
            addRandomLine(random, kDay2, ln);

        // Day 1, then day 2 whose lots continue day 1's: each day's lines are completed as
        // the fourteen statements complete them, the other day's lines are left alone.
        for (const QString &day : {kDay1, kDay2}) {
            const std::string what = "seed " + std::to_string(seed) + ", day " + day.toStdString();
            db().begin();
            ReferenceIntake::enrich(db(), day);
            const QStringList expected = orderLines();
            db().rollback();

            enrichDay(db(), progress, day);
            expectSameRows(expected, orderLines(), what);
            // A completed day is read, not rewritten.
            EXPECT_EQ(db().exec(enrichmentStatement(), {{"d", day}}), 0) << what;
        }
    }
}

TEST_P(IntakeEquivalenceTest, ImportGivesTheStepwiseResultOnARandomFile)
{
    Random random(7);
    loadRandomMasters(random);
    earlierDay(random);

    const QByteArray file = randomOrderFile(random);
    const QString path = writeOrderFile(file);

    // The step-by-step import, looked at and then undone.
    db().begin();
    ReferenceIntake::fileImport(db(), file, kDay2, "2026", "12", QDate(2026, 12, 8));
    ReferenceIntake::makeOrder(db(), kDay2);
    db().exec("INSERT INTO SYS_IMPDATE(IMP_DATE, KAKUTEI_FLG) VALUES(:d, '0')", {{"d", kDay2}});
    ReferenceIntake::enrich(db(), kDay2);
    db().exec("UPDATE TBL_ORDER SET FLG1 = '0' WHERE IMP_DATE = :d", {{"d", kDay2}});
    db().exec("DELETE FROM TBL_ERR WHERE IMP_DATE = :d", {{"d", kDay2}});
    for (auto check :
         {checkBrands, checkFactories, checkQualities, checkSizes, checkSizeRows, checkRows})
        ASSERT_EQ(check(db(), dialogs, kDay2), Outcome::Done);
    markLinesWithFindings(db(), kDay2);
    const QStringList expected = importTables();
    const int findings = count("TBL_ERR");
    const int linesWithFindings = count("TBL_ORDER", "IMP_DATE = '20261208' AND FLG1 = '1'");
    db().rollback();
    ASSERT_GT(findings, 30); // the random day meets every check

    ASSERT_EQ(
        ImportRun(db(), dialogs, progress).run({path, kDay2, "2026", "12", QDate(2026, 12, 8)}),
        Outcome::Done);
    EXPECT_EQ(
        dialogs.messages(),
        QStringList({"エラーチェック処理を開始します。",
                     QStringLiteral("処理は終了しました。\n取込 300 行、エラー %1 件（%2 行）")
                         .arg(findings)
                         .arg(linesWithFindings)}));
    expectSameRows(expected, importTables(), "import");
}

TEST_P(IntakeEquivalenceTest, BuildWritesTheLinesAsTheEnrichmentCompletesThem)
{
    Random random(11);
    loadRandomMasters(random);
    earlierDay(random);
    const QByteArray file = randomOrderFile(random);
    const ImportRequest request{writeOrderFile(file), kDay2, "2026", "12", QDate(2026, 12, 8)};

    db().begin();
    ReferenceIntake::fileImport(db(), file, kDay2, "2026", "12", request.today);
    ReferenceIntake::makeOrder(db(), kDay2);
    ReferenceIntake::enrich(db(), kDay2);
    const QStringList expected = orderLines();
    db().rollback();

    ASSERT_EQ(importFile(db(), dialogs, progress, request), Outcome::Done);
    ASSERT_EQ(buildOrders(db(), dialogs, kDay2), Outcome::Done);
    expectSameRows(expected, orderLines(), "build");
    EXPECT_EQ(db().exec(enrichmentStatement(), {{"d", kDay2}}), 0);
}

TEST_P(IntakeEquivalenceTest, AMasterTheDatabaseRefusesStillFailsTheEnrichmentNotTheImport)
{
    Random random(5);
    loadRandomMasters(random);
    db().exec("ALTER TABLE MST_BRAND RENAME TO GONE");
    const QString path = writeOrderFile(randomOrderFile(random));
    ASSERT_EQ(
        ImportRun(db(), dialogs, progress).run({path, kDay2, "2026", "12", QDate(2026, 12, 8)}),
        Outcome::Done);
    const QStringList messages = dialogs.messages();
    ASSERT_EQ(messages.size(), 4);
    EXPECT_EQ(messages.at(0), "エラーチェック処理を開始します。");
    EXPECT_EQ(dialogs.shown.at(1).icon, Icon::Error); // the database's own text
    EXPECT_EQ(messages.at(2), "エラーチェック中にエラーが発生しました。");
    EXPECT_TRUE(messages.at(3).startsWith("処理は終了しました。\n取込 300 行"));
    // The day is registered with its lines as the plain build leaves them.
    EXPECT_EQ(count("SYS_IMPDATE", "IMP_DATE = '20261208'"), 1);
    EXPECT_EQ(count("TBL_ORDER", "IMP_DATE = '20261208'"), 300);
    EXPECT_EQ(count("TBL_ORDER", "IMP_DATE = '20261208' AND (BR_CD <> '' OR HINBAN_KBN <> '')"), 0);
    EXPECT_EQ(count("TBL_ORDER", "SEIZOUMOTO = '株式会社　オステラ'"), 300);
}

TEST_P(IntakeEquivalenceTest, AllChecksInOneReadGiveTheFindingsOfTheChecksOneByOne)
{
    Random random(3);
    loadRandomMasters(random);
    for (int ln = 1; ln <= 250; ++ln)
        addRandomLine(random, kDay2, ln);
    db().exec("UPDATE TBL_ORDER SET QUL_KEY = '' WHERE IMP_LN % 7 = 0");
    db().exec("UPDATE TBL_ORDER SET QUL_KEY = 'QN' WHERE IMP_LN % 11 = 0");
    enrichDay(db(), progress, kDay2);

    db().begin();
    for (auto check :
         {checkBrands, checkFactories, checkQualities, checkSizes, checkSizeRows, checkRows})
        ASSERT_EQ(check(db(), dialogs, kDay2), Outcome::Done);
    const QStringList expected = snapshot("TBL_ERR", "IMP_DATE, IMP_LN, ERR_LN");
    db().rollback();
    ASSERT_GT(expected.size(), 250); // every kind of finding, several on most lines

    writeAllFindings(db(), kDay2);
    expectSameRows(expected, snapshot("TBL_ERR", "IMP_DATE, IMP_LN, ERR_LN"), "findings");
}
