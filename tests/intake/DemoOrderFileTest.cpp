#include "DbTest.h"

#include "Cp932.h"
#include "DemoData.h"
#include "DemoOrderFile.h"

#include <QHash>
#include <QSet>
#include <QSqlRecord>

namespace {

// The customer's record layout, written out again here so that the generator is checked
// against the layout and not against itself: name, start (character, from 1), length.
struct LayoutField {
    const char *name;
    int start;
    int length;
};
const LayoutField kFields[] = {
    {"F01", 1, 1},       {"F02", 2, 2},      {"ORD_DATE", 4, 6}, {"F03", 10, 1},
    {"F04", 11, 1},      {"FC_CD", 12, 6},   {"FC_RG", 18, 2},   {"LOT_NO", 20, 7},
    {"SET_DATE", 27, 6}, {"HINBAN", 33, 6},  {"S_END", 39, 2},   {"COL", 41, 2},
    {"F05", 43, 1},      {"QUL_KEY", 44, 8}, {"S_TBL", 52, 1},   {"S_FLD", 53, 2},
    {"ROW", 55, 2},      {"SCN", 57, 1},     {"F06", 58, 4},     {"JAN", 62, 13},
    {"PRICE", 75, 6},    {"SU", 81, 5},      {"TAG_CD", 86, 4},  {"SND_CD", 90, 6},
    {"F07", 96, 1},      {"F08", 97, 2},     {"F09", 99, 1},     {"F10", 100, 1},
    {"F11", 101, 1},     {"F12", 102, 3},    {"F13", 105, 4},    {"F14", 109, 2},
    {"F15", 111, 2},     {"F16", 113, 2},    {"F17", 115, 11},   {"CAR_CD", 126, 1},
    {"F19", 127, 2},
};

using Record = QHash<QString, QString>; // untrimmed field texts

// Record n as the importer reads it: from byte (n - 1) * 130, fields by character count.
Record splitRecord(const QByteArray &file, int n)
{
    const QByteArray bytes = file.mid(qsizetype(n - 1) * 130, 128);
    const QString text = Cp932::decode(bytes).value_or(QString());
    Record r;
    for (const LayoutField &f : kFields)
        r[QLatin1String(f.name)] = text.mid(f.start - 1, f.length);
    return r;
}

QString t(const Record &r, const char *name)
{
    return r.value(QLatin1String(name)).trimmed();
}

QByteArray generate(int lines, quint32 seed, bool plant, QDate date = QDate(2026, 12, 8))
{
    DemoOrderFile::Options o;
    o.date = date;
    o.lines = lines;
    o.seed = seed;
    o.plantFindings = plant;
    return DemoOrderFile::generate(o);
}

} // namespace

TEST(DemoOrderFileTest, RecordsAreFixedAndFieldsSitWhereTheLayoutSaysForAnyDate)
{
    for (const QDate &date : {QDate(2026, 12, 8), QDate(2027, 1, 31), QDate(2026, 7, 1)}) {
        SCOPED_TRACE(date.toString(Qt::ISODate).toStdString());
        const QByteArray file = generate(300, 7, true, date);
        ASSERT_EQ(file.size(), 300 * 130);
        QSet<QString> lots;
        QSet<QString> factories;
        bool smallest = false;
        bool largest = false;
        int withMark = 0;
        for (int n = 1; n <= 300; ++n) {
            SCOPED_TRACE(n);
            const QByteArray raw = file.mid(qsizetype(n - 1) * 130, 130);
            ASSERT_TRUE(raw.endsWith("\r\n"));
            ASSERT_TRUE(Cp932::decode(raw).has_value());
            const Record r = splitRecord(file, n);
            EXPECT_EQ(t(r, "ORD_DATE"), date.toString(QStringLiteral("yyMMdd")));
            const QDate set = QDate::fromString(QStringLiteral("20") + t(r, "SET_DATE"),
                                                QStringLiteral("yyyyMMdd"));
            ASSERT_TRUE(set.isValid());
            EXPECT_GE(date.daysTo(set), 3);
            EXPECT_LE(date.daysTo(set), 11);
            const QString lot = t(r, "LOT_NO");
            ASSERT_EQ(lot.size(), 7);
            const int month = QStringLiteral("123456789XYZ").indexOf(lot.at(1)) + 1;
            EXPECT_TRUE(month == date.month() || month == date.addMonths(-1).month() ||
                        month == date.addMonths(-2).month())
                << lot.toStdString();
            const QString su = r.value(QStringLiteral("SU"));
            EXPECT_EQ(su.size(), 5);
            EXPECT_FALSE(su.endsWith(QLatin1Char(' '))) << "quantity not right-aligned";
            const int quantity = su.trimmed().toInt();
            EXPECT_GE(quantity, 1);
            EXPECT_LE(quantity, 99999);
            smallest |= su == QLatin1String("    1");
            largest |= su == QLatin1String("99999");
            EXPECT_EQ(t(r, "FC_RG").size(), 2);
            EXPECT_EQ(t(r, "FC_CD").size(), 6);
            EXPECT_EQ(t(r, "CAR_CD").size(), 1);
            EXPECT_EQ(t(r, "JAN").size(), 13);
            EXPECT_TRUE(t(r, "SCN").isEmpty() || t(r, "SCN") == QLatin1String("C"));
            if (!t(r, "F19").isEmpty()) {
                ++withMark;
                EXPECT_EQ(t(r, "F19"), QStringLiteral("急"));
            }
            lots << lot;
            factories << t(r, "FC_RG");
        }
        EXPECT_TRUE(smallest);
        EXPECT_TRUE(largest);
        EXPECT_GT(lots.size(), 15);
        EXPECT_LT(lots.size(), 150); // lots have several sizes and colours
        EXPECT_GE(factories.size(), 5);
        Q_UNUSED(withMark);
    }
}

TEST(DemoOrderFileTest, SameSeedSameBytesAndLineCountHonoured)
{
    EXPECT_EQ(generate(120, 42, true), generate(120, 42, true));
    EXPECT_NE(generate(120, 42, true), generate(120, 43, true));
    EXPECT_EQ(generate(1, 1, false).size(), 130);
    EXPECT_EQ(generate(1000, 1, true).size(), 1000 * 130);
    EXPECT_TRUE(generate(0, 1, true).isEmpty());
    // A double-byte mark somewhere in a long file, without moving any later record.
    const QByteArray big = generate(3000, 3, false);
    EXPECT_TRUE(big.contains(Cp932::encode(QStringLiteral("急")).bytes));
    EXPECT_TRUE(big.contains(Cp932::encode(QStringLiteral("ｼｷｭｳ")).bytes));
    for (int n = 1; n <= 3000; ++n)
        ASSERT_EQ(big.mid(qsizetype(n) * 130 - 2, 2), QByteArray("\r\n")) << n;
}

// The six master checks, judged here from the record and the masters alone.
class DemoOrderFileChecks : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        DemoData::loadMasters(db());
        auto set = [&](const QString &sql) {
            QSet<QString> s;
            for (const QSqlRecord &r : db().rows(sql))
                s << r.value(0).toString();
            return s;
        };
        classes = set(QStringLiteral("SELECT HINBAN_KBN FROM MST_HINBANKUBUN"));
        factoryPairs = set(QStringLiteral("SELECT FC_RG || '/' || FC_CD FROM MST_FACTORY"));
        qualities = set(QStringLiteral("SELECT QUL_KEY FROM MST_QUL"));
        sizes = set(QStringLiteral("SELECT SIZE_KEY FROM MST_SIZ"));
        sizeRows = set(QStringLiteral("SELECT ROW || '/' || SIZE_KBN FROM MST_TARVOLIN_SIZE"));
        rows = set(QStringLiteral("SELECT ROW FROM MST_ROW"));
        nameTypes = set(QStringLiteral("SELECT CAR_CD FROM MST_CAR"));
    }

    QStringList findings(const Record &r) const
    {
        const QString hinban = t(r, "HINBAN");
        const bool digit =
            hinban.size() >= 3 && QStringLiteral("0123456789+-.,$\\").contains(hinban.at(2));
        QString end = t(r, "S_END");
        if (end == QLatin1String("A") || end == QLatin1String("M"))
            end.clear();
        QString quality = t(r, "QUL_KEY");
        quality.remove(QLatin1Char(' '));
        const QString sizeKey = end + t(r, "S_TBL") + t(r, "S_FLD") + t(r, "ROW");
        const QString sizeClass = t(r, "S_TBL") + t(r, "S_FLD") + end;
        QStringList found;
        if (!classes.contains(hinban.left(digit ? 2 : 3)))
            found << QStringLiteral("class");
        if (!factoryPairs.contains(t(r, "FC_RG") + QLatin1Char('/') + t(r, "FC_CD")))
            found << QStringLiteral("factory");
        if (quality.isEmpty())
            found << QStringLiteral("blank quality");
        if (!qualities.contains(quality))
            found << QStringLiteral("quality");
        if (!sizes.contains(sizeKey))
            found << QStringLiteral("size");
        if (!sizeRows.contains(t(r, "ROW") + QLatin1Char('/') + sizeClass))
            found << QStringLiteral("size row");
        if (!rows.contains(t(r, "ROW")))
            found << QStringLiteral("row");
        return found;
    }

    QMap<int, QStringList> findingsOf(const QByteArray &file) const
    {
        QMap<int, QStringList> result;
        for (int n = 1; n <= file.size() / 130; ++n) {
            const Record r = splitRecord(file, n);
            EXPECT_TRUE(nameTypes.contains(t(r, "CAR_CD"))) << n;
            const QStringList f = findings(r);
            if (!f.isEmpty())
                result.insert(n, f);
        }
        return result;
    }

    QSet<QString> classes, factoryPairs, qualities, sizes, sizeRows, rows, nameTypes;
};
INSTANTIATE_ENGINES(DemoOrderFileChecks);

TEST_P(DemoOrderFileChecks, WithoutPlantedFindingsEveryLinePassesEveryCheck)
{
    for (quint32 seed : {1u, 2u, 20261208u}) {
        const QMap<int, QStringList> found = findingsOf(generate(1500, seed, false));
        EXPECT_TRUE(found.isEmpty()) << "seed " << seed << ": line " << found.firstKey() << " "
                                     << found.first().join(QLatin1Char(',')).toStdString();
    }
}

TEST_P(DemoOrderFileChecks, PlantedFindingsFailOneCheckEachAtKnownLines)
{
    const QMap<int, QStringList> expected300 = {
        {22, {QStringLiteral("class")}},
        {65, {QStringLiteral("factory")}},
        {108, {QStringLiteral("blank quality"), QStringLiteral("quality")}},
        {151, {QStringLiteral("quality")}},
        {193, {QStringLiteral("size")}},
        {236, {QStringLiteral("size row")}},
        {279, {QStringLiteral("row")}},
    };
    for (quint32 seed : {1u, 20261208u})
        EXPECT_EQ(findingsOf(generate(300, seed, true)), expected300) << "seed " << seed;

    const QMap<int, QStringList> expected5 = {
        {1, {QStringLiteral("class")}},
        {2, {QStringLiteral("factory")}},
        {3, {QStringLiteral("blank quality"), QStringLiteral("quality")}},
        {4, {QStringLiteral("quality")}},
        {5, {QStringLiteral("size")}},
    };
    EXPECT_EQ(findingsOf(generate(5, 9, true)), expected5);
    EXPECT_EQ(findingsOf(generate(7, 9, true)).size(), 7);

    // The unknown quality key carries a blank the import removes.
    EXPECT_EQ(splitRecord(generate(300, 1, true), 151).value(QStringLiteral("QUL_KEY")),
              QStringLiteral("QN 9001 "));
}
