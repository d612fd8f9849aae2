#include "DbTest.h"

#include "FactoryMaster.h"
#include "NameTypeMaster.h"
#include "QualityMaster.h"

#include <QSqlRecord>

namespace {
MasterValues carValues(const QString &key, const MasterValues &more = {})
{
    MasterValues values = {{QStringLiteral("CAR_CD"), key},
                           {QStringLiteral("SHO_NM1"), QStringLiteral("洗濯ネーム")},
                           {QStringLiteral("USER_NM"), QStringLiteral("tester")},
                           {QStringLiteral("TIME_STAMP"), QStringLiteral("2026/12/08 10:00:00")}};
    for (auto it = more.constBegin(); it != more.constEnd(); ++it)
        values.insert(it.key(), it.value());
    return values;
}
} // namespace

class MasterTableTest : public DbTest {
protected:
    QVariant carField(const QString &key, const QString &column)
    {
        return db().scalar(QStringLiteral("Select ") + column +
                               QStringLiteral(" From MST_CAR Where CAR_CD = :k"),
                           {{QStringLiteral("k"), key}});
    }
};
INSTANTIATE_ENGINES(MasterTableTest);

TEST_P(MasterTableTest, SaveCheckRefusesBlankKeysAndKeysInUse)
{
    NameTypeMaster car(db());
    car.save(ModeNew, QString(), carValues(QStringLiteral("C1")));
    car.save(ModeNew, QString(), carValues(QStringLiteral("C2")));

    EXPECT_EQ(car.saveRefusal(ModeNew, QStringLiteral("   "), QString()),
              QStringLiteral("ネーム種が入力されていません。"));
    EXPECT_EQ(car.saveRefusal(ModeNew, QStringLiteral("C1"), QString()),
              QStringLiteral("既に登録されています。"));
    // A copy saved without changing the key would take the key of its original.
    EXPECT_EQ(car.saveRefusal(ModeCopy, QStringLiteral("C1"), QStringLiteral("C1")),
              QStringLiteral("既に登録されています。"));
    // Editing may keep its own key, but not move to a key in use.
    EXPECT_EQ(car.saveRefusal(ModeEdit, QStringLiteral("C1"), QStringLiteral("C1")), QString());
    EXPECT_EQ(car.saveRefusal(ModeEdit, QStringLiteral("C2"), QStringLiteral("C1")),
              QStringLiteral("既に登録されています。"));
    EXPECT_EQ(car.saveRefusal(ModeEdit, QStringLiteral("C3"), QStringLiteral("C1")), QString());
    // Blanks around the key do not make another key.
    EXPECT_EQ(car.saveRefusal(ModeNew, QStringLiteral(" C1 "), QString()),
              QStringLiteral("既に登録されています。"));
}

TEST_P(MasterTableTest, EditingTheKeyMovesTheRecordAndReplacesIt)
{
    NameTypeMaster car(db());
    car.save(ModeNew, QString(), carValues(QStringLiteral("C1")));
    car.save(ModeEdit, QStringLiteral("C1"),
             carValues(QStringLiteral("C9"), {{QStringLiteral("SHO_NM1"), QStringLiteral("新")}}));
    EXPECT_EQ(count(QStringLiteral("MST_CAR")), 1);
    EXPECT_EQ(carField(QStringLiteral("C9"), QStringLiteral("SHO_NM1")).toString(),
              QStringLiteral("新"));

    // Saving under the same key replaces the whole record: no old value survives.
    car.save(ModeEdit, QStringLiteral("C9"),
             carValues(QStringLiteral("C9"), {{QStringLiteral("SHO_NM1"), QString()}}));
    EXPECT_EQ(count(QStringLiteral("MST_CAR")), 1);
    EXPECT_EQ(carField(QStringLiteral("C9"), QStringLiteral("SHO_NM1")).toString(), QString());
}

TEST_P(MasterTableTest, NumbersAreStoredAsNumbersAndThePriceShownWithTwoDecimals)
{
    NameTypeMaster car(db());
    car.save(ModeNew, QString(),
             carValues(QStringLiteral("C1"), {{QStringLiteral("PRICE"), QStringLiteral("12.5")},
                                              {QStringLiteral("SPARE_SU0"), QString()},
                                              {QStringLiteral("SPARE_SU1"), QStringLiteral("3")},
                                              {QStringLiteral("YARE_SU"), QStringLiteral("")}}));
    EXPECT_DOUBLE_EQ(carField(QStringLiteral("C1"), QStringLiteral("PRICE")).toDouble(), 12.5);
    EXPECT_EQ(carField(QStringLiteral("C1"), QStringLiteral("SPARE_SU0")).toInt(), 0);
    EXPECT_EQ(carField(QStringLiteral("C1"), QStringLiteral("SPARE_SU1")).toInt(), 3);
    EXPECT_EQ(carField(QStringLiteral("C1"), QStringLiteral("YARE_SU")).toInt(), 0);
    // Counts compare as numbers (the enrichment compares quantities with them).
    EXPECT_TRUE(db().exists(QStringLiteral("Select * From MST_CAR Where SPARE_SU1 > 2")));

    const MasterValues shown = car.load(QStringLiteral("C1"));
    EXPECT_EQ(shown.value(QStringLiteral("PRICE")), QStringLiteral("12.50"));
    EXPECT_EQ(shown.value(QStringLiteral("SPARE_SU0")), QStringLiteral("0"));
    EXPECT_EQ(shown.value(QStringLiteral("SHO_NM1")), QStringLiteral("洗濯ネーム"));
    EXPECT_TRUE(car.load(QStringLiteral("NONE")).isEmpty());
}

TEST_P(MasterTableTest, NumberOfReadsTheLeadingNumberOfWhatWasTyped)
{
    EXPECT_EQ(NameTypeMaster::numberOf(QString()), 0.0);
    EXPECT_EQ(NameTypeMaster::numberOf(QStringLiteral("12.5")), 12.5);
    EXPECT_EQ(NameTypeMaster::numberOf(QStringLiteral(".5")), 0.5);
    EXPECT_EQ(NameTypeMaster::numberOf(QStringLiteral("30個")), 30.0);
    EXPECT_EQ(NameTypeMaster::numberOf(QStringLiteral("abc")), 0.0);
}

TEST_P(MasterTableTest, ApostrophesAndQuotesAreStoredAsTyped)
{
    FactoryMaster factory(db());
    const QString name = QStringLiteral("O'Brien's \"工場\"; --");
    factory.save(ModeNew, QString(),
                 {{QStringLiteral("FC_RG"), QStringLiteral("A'1")},
                  {QStringLiteral("FC_NM"), name},
                  {QStringLiteral("GENSAN"), QStringLiteral("ベトナム製")}});
    EXPECT_EQ(factory.load(QStringLiteral("A'1")).value(QStringLiteral("FC_NM")), name);
    EXPECT_EQ(factory.saveRefusal(ModeNew, QStringLiteral("A'1"), QString()),
              QStringLiteral("既に登録されています。"));
    factory.remove(QStringLiteral("A'1"));
    EXPECT_EQ(count(QStringLiteral("MST_FACTORY")), 0);
}

TEST_P(MasterTableTest, FactoriesMayShareACodeButNotAnAbbreviation)
{
    FactoryMaster factory(db());
    factory.save(ModeNew, QString(),
                 {{QStringLiteral("FC_RG"), QStringLiteral("AB")},
                  {QStringLiteral("FC_CD"), QStringLiteral("F01")}});
    ASSERT_EQ(factory.saveRefusal(ModeNew, QStringLiteral("AC"), QString()), QString());
    factory.save(ModeNew, QString(),
                 {{QStringLiteral("FC_RG"), QStringLiteral("AC")},
                  {QStringLiteral("FC_CD"), QStringLiteral("F01")}});
    EXPECT_EQ(count(QStringLiteral("MST_FACTORY"), QStringLiteral("FC_CD = 'F01'")), 2);
    EXPECT_EQ(factory.saveRefusal(ModeNew, QStringLiteral("AB"), QString()),
              QStringLiteral("既に登録されています。"));
    EXPECT_EQ(factory.saveRefusal(ModeNew, QString(), QString()),
              QStringLiteral("工場略号が入力されていません。"));
    // Control numbers and print file names begin with the abbreviation: characters no file
    // name may hold are refused, in a new key and in a moved one alike.
    EXPECT_EQ(factory.saveRefusal(ModeNew, QStringLiteral("A/B"), QString()),
              QStringLiteral("工場略号に使えない文字「/」があります。"));
    EXPECT_EQ(factory.saveRefusal(ModeEdit, QStringLiteral("A\\B"), QStringLiteral("AB")),
              QStringLiteral("工場略号に使えない文字「\\」があります。"));
    EXPECT_EQ(factory.saveRefusal(ModeNew, QStringLiteral(" .A"), QString()),
              QStringLiteral("工場略号は「.」で始められません。"));
    EXPECT_EQ(factory.saveRefusal(ModeNew, QStringLiteral("A.B_1"), QString()), QString());
    // A factory code is no key: a second AB is refused by the table too.
    EXPECT_THROW(
        factory.save(ModeNew, QString(), {{QStringLiteral("FC_RG"), QStringLiteral("AB")}}),
        DbError);
    EXPECT_EQ(FactoryMaster::origins(),
              QStringList(
                  {QStringLiteral("日本製"), QStringLiteral("中国製"), QStringLiteral("韓国製")}));
}

// The key was free at the check, but another workstation took it before the save: the save
// fails as a whole, and the record under its old key is still there.
TEST_P(MasterTableTest, ASaveThatFailsIsRolledBackWhole)
{
    NameTypeMaster car(db());
    car.save(ModeNew, QString(), carValues(QStringLiteral("C1")));
    ASSERT_EQ(car.saveRefusal(ModeEdit, QStringLiteral("C9"), QStringLiteral("C1")), QString());

    std::unique_ptr<Db> other = openSecond();
    NameTypeMaster(*other).save(
        ModeNew, QString(),
        carValues(QStringLiteral("C9"), {{QStringLiteral("SHO_NM1"), QStringLiteral("他端末")}}));

    EXPECT_THROW(car.save(ModeEdit, QStringLiteral("C1"), carValues(QStringLiteral("C9"))),
                 DbError);
    EXPECT_EQ(db().transactionDepth(), 0);
    EXPECT_EQ(count(QStringLiteral("MST_CAR"), QStringLiteral("CAR_CD = 'C1'")), 1);
    EXPECT_EQ(carField(QStringLiteral("C9"), QStringLiteral("SHO_NM1")).toString(),
              QStringLiteral("他端末"));
}

TEST_P(MasterTableTest, QualityIsSavedWithEveryColumnAndItsSymbolsListed)
{
    db().exec(QStringLiteral("Insert Into MST_EHJ(EHJ_NO) Values('200'), ('100'), ('110')"));
    QualityMaster quality(db());
    EXPECT_EQ(quality.careSymbols(),
              QStringList({QStringLiteral("100"), QStringLiteral("110"), QStringLiteral("200")}));

    MasterValues values = {{QStringLiteral("QUL_KEY"), QStringLiteral("Q1")},
                           {QStringLiteral("KON10"), QStringLiteral("5%")},
                           {QStringLiteral("EHJ6"), QStringLiteral("200")},
                           {QStringLiteral("EFUKI2"), QStringLiteral("陰干し")}};
    EXPECT_EQ(quality.columns().size(), 45);
    quality.save(ModeNew, QString(), values);
    const MasterValues stored = quality.load(QStringLiteral("Q1"));
    EXPECT_EQ(stored.size(), 45);
    EXPECT_EQ(stored.value(QStringLiteral("KON10")), QStringLiteral("5%"));
    EXPECT_EQ(stored.value(QStringLiteral("EHJ6")), QStringLiteral("200"));
    EXPECT_EQ(stored.value(QStringLiteral("EFUKI2")), QStringLiteral("陰干し"));
    EXPECT_EQ(quality.saveRefusal(ModeNew, QString(), QString()),
              QStringLiteral("品質キーが入力されていません。"));
}

namespace {
struct LayoutCase {
    const char *name;
    QStringList filled;
    const char *expected; // L2 L3 L4
};

QString layoutOf(const QStringList &filled)
{
    MasterValues values = {{QStringLiteral("LAYOUT2"), QStringLiteral("9")},
                           {QStringLiteral("LAYOUT3"), QStringLiteral("9")},
                           {QStringLiteral("LAYOUT4"), QStringLiteral("9")}};
    for (const QString &field : filled)
        values.insert(field, QStringLiteral("x"));
    QualityMaster::setLayoutCodes(values);
    return values.value(QStringLiteral("LAYOUT2")) + values.value(QStringLiteral("LAYOUT3")) +
           values.value(QStringLiteral("LAYOUT4"));
}
} // namespace

TEST(QualityLayoutTest, LayoutNumbersFollowTheHighestFilledPosition)
{
    const QList<LayoutCase> cases = {
        {"nothing filled", {}, "111"},
        {"rows 1-3, symbols 1-4, note 1",
         {"BUI1", "SOS1", "KON1", "SOS2", "KON3", "EHJ1", "EHJ2", "EHJ3", "EHJ4", "EFUKI1"},
         "212"},
        {"only row 8", {"SOS8"}, "121"},
        {"row 6 is still the short layout", {"BUI6"}, "111"},
        {"row 7 by its rate alone", {"KON7"}, "121"},
        {"symbol 2", {"EHJ2"}, "111"},
        {"symbol 3 alone", {"EHJ3"}, "211"},
        {"symbol 5", {"EHJ5"}, "311"},
        {"symbol 6", {"EHJ6"}, "311"},
        {"note 2 without note 1", {"EFUKI2"}, "113"},
        {"both notes", {"EFUKI1", "EFUKI2"}, "113"},
    };
    for (const LayoutCase &c : cases)
        EXPECT_EQ(layoutOf(c.filled), QLatin1String(c.expected)) << c.name;
}
