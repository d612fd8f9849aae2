#include "HistoryFixture.h"

#include "Clock.h"
#include "OrderBulkUpdate.h"
#include "OrderCheck.h"
#include "OrderLineStore.h"
#include "globals.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace ConversionFixture;

class AuditTrailTest : public HistoryTest {
protected:
    // What the edit grid read of a line: its key and the columns it shows.
    QList<OrderLineValue> readOf(int ln, const QStringList &columns)
    {
        QList<OrderLineValue> read = {{QStringLiteral("IMP_DATE"), kDay},
                                      {QStringLiteral("IMP_LN"), ln}};
        const auto line = OrderLineStore(db()).reload(kDay, ln);
        for (const QString &c : columns)
            read.append({c, line->value(line->contains(c) ? c : c.toLower())});
        return read;
    }
    OrderCondition dayCondition() const
    {
        return OrderCondition(
            QStringLiteral("Where IMP_DATE = '20261208' And FLG3 = '0' And FLG4 = '0' "));
    }
};
INSTANTIATE_ENGINES(AuditTrailTest);

TEST_P(AuditTrailTest, AGridEditLogsWhoWhenAndTheColumnsThatChanged)
{
    addLines(1);
    gUserName = QStringLiteral("suzuki");
    gComputerName = QStringLiteral("DESK-3");
    OrderLineStore store(db());
    const auto read = readOf(1, {"SU", "PRINTER", "LOT_NO"});
    ASSERT_TRUE(store.update({{"SU", 25}, {"PRINTER", "TP-1"}, {"LOT_NO", "L'9"}}, read));

    // PRINTER was written with the value it had: no entry for it.
    EXPECT_EQ(changesOf(1), (QStringList{"修正 LOT_NO L0001>L'9", "修正 SU 10>25"}));
    const QList<AuditEntry> entries = AuditTrail::entries(db(), kDay, 1);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].at, QStringLiteral("2026/12/08 10:00:00"));
    EXPECT_EQ(entries[0].user, QStringLiteral("suzuki"));
    EXPECT_EQ(entries[0].computer, QStringLiteral("DESK-3"));

    // A later edit of the same line follows the first.
    Clock::advance(60);
    ASSERT_TRUE(store.update({{"SU", 30}}, readOf(1, {"SU"})));
    EXPECT_EQ(changesOf(1).last(), QStringLiteral("修正 SU 25>30"));
    EXPECT_EQ(AuditTrail::entries(db(), kDay, 1).last().at, QStringLiteral("2026/12/08 10:01:00"));
}

TEST_P(AuditTrailTest, ARefusedOrFailedEditLogsNothing)
{
    addLines(2);
    OrderLineStore store(db());
    const auto stale = readOf(1, {"SU"});

    // Another workstation changed the line first: the edit is refused, nothing is logged.
    auto second = openSecond();
    second->exec(QStringLiteral("UPDATE TBL_ORDER SET SU = 99 WHERE IMP_LN = 1"));
    EXPECT_FALSE(store.update({{"SU", 25}}, stale));
    EXPECT_FALSE(store.remove(stale));
    EXPECT_EQ(count("TBL_ORDER", "IMP_LN = 1 AND SU = 99"), 1);

    // A statement the database refuses: nothing changed, nothing logged.
    refuseUpdates(db(), QStringLiteral("TBL_ORDER"));
    EXPECT_THROW(store.update({{"SU", 25}}, readOf(2, {"SU"})), DbError);
    EXPECT_EQ(entries(), 0);

    // An entry rolls back with the change it belongs to.
    {
        Transaction outer(db());
        ASSERT_TRUE(store.remove(readOf(2, {"SU"})));
        EXPECT_EQ(entries(), 1);
    }
    EXPECT_EQ(entries(), 0);
    EXPECT_EQ(count("TBL_ORDER", "IMP_LN = 2"), 1);
}

TEST_P(AuditTrailTest, ADeleteKeepsTheWholeLine)
{
    addLines(1);
    ASSERT_TRUE(OrderLineStore(db()).remove(readOf(1, {"SU", "KNR_NO"})));
    const QList<AuditEntry> entries = AuditTrail::entries(db(), kDay, 1);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].column, QStringLiteral("*"));
    EXPECT_EQ(entries[0].kind, QStringLiteral("削除"));
    EXPECT_EQ(entries[0].newValue, QString());
    const QJsonObject line = QJsonDocument::fromJson(entries[0].oldValue.toUtf8()).object();
    EXPECT_EQ(line.value("KNR_NO").toString(), QStringLiteral("AB-001"));
    EXPECT_EQ(line.value("SU").toString(), QStringLiteral("10"));
    EXPECT_EQ(line.value("FC_NM").toString(), QStringLiteral("第一工場"));
    EXPECT_EQ(line.value("PRINTER").toString(), QStringLiteral("TP-1"));
    EXPECT_FALSE(line.contains("B1")); // empty columns are left out
    EXPECT_EQ(AuditTrail::caption(entries[0].column), QStringLiteral("行削除"));
}

TEST_P(AuditTrailTest, ABulkUpdateLogsOnlyTheLinesAndColumnsItChanges)
{
    addLines(3);
    addLines(1, 10, QStringLiteral("CD"));
    db().exec(QStringLiteral("UPDATE TBL_ORDER SET SET_DATE = '2026/12/20' WHERE IMP_LN = 2"));
    OrderBulkUpdate bulk(db(), dialogs);
    BulkUpdateValues values;
    values.setDate = QStringLiteral("2026/12/20");
    values.printer = QStringLiteral("LP-1");
    values.dataFlg = QStringLiteral("0");
    values.special = QStringLiteral("0"); // every line holds 0 already
    // The find dialog's narrower condition, with an Or that must not widen the entries.
    const OrderCondition condition(dayCondition().text() +
                                   QStringLiteral("And (FC_RG = 'AB' Or FC_RG = 'XX') "));
    ASSERT_EQ(bulk.apply(values, condition), Outcome::Done)
        << dialogs.texts().join('|').toStdString();

    EXPECT_EQ(changesOf(1), (QStringList{"一括更新 SET_DATE 2026/12/10>2026/12/20",
                                         "一括更新 PRINTER TP-1>LP-1", "一括更新 DATA_FLG 1>0"}));
    EXPECT_EQ(changesOf(2), (QStringList{"一括更新 PRINTER TP-1>LP-1", "一括更新 DATA_FLG 1>0"}));
    EXPECT_TRUE(changesOf(10).isEmpty()); // another factory
    EXPECT_EQ(entries(), 8);
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_P(AuditTrailTest, ABulkUpdateThatIsRefusedOrFailsLogsNothing)
{
    addLines(2);
    OrderBulkUpdate bulk(db(), dialogs);
    BulkUpdateValues bad;
    bad.setDate = QStringLiteral("2026/13/40");
    EXPECT_EQ(bulk.apply(bad, dayCondition()), Outcome::Refused);
    BulkUpdateValues unlisted;
    unlisted.printer = QStringLiteral("XX-9"); // not chosen from the list: no flag
    EXPECT_EQ(bulk.apply(unlisted, dayCondition()), Outcome::Refused);
    EXPECT_EQ(entries(), 0);

    // The set date is logged and written, then the printer's statement fails: all goes.
    refuseUpdates(db(), QStringLiteral("TBL_ORDER"), QStringLiteral("PRINTER"));
    BulkUpdateValues values;
    values.setDate = QStringLiteral("2026/12/20");
    values.printer = QStringLiteral("LP-1");
    values.dataFlg = QStringLiteral("0");
    dialogs.clear();
    EXPECT_EQ(bulk.apply(values, dayCondition()), Outcome::Failed);
    EXPECT_EQ(entries(), 0);
    EXPECT_EQ(count("TBL_ORDER", "SET_DATE = '2026/12/20'"), 0);
    EXPECT_EQ(dialogs.messages().size(), 1); // the failure, not also the history's
}

TEST_P(AuditTrailTest, ConversionCancelAndConfirmationLogTheirFlagsAndStamps)
{
    addLines(2);
    ConversionFixture::OrderLine faulty;
    faulty.ln = 3;
    faulty.row = QStringLiteral("99"); // the error check keeps it out of the run
    addLine(db(), faulty);
    // The day as its import left it: completed and checked, so the run's own check changes
    // nothing.
    ASSERT_EQ(checkDay(db(), dialogs, progress, kDay, CheckCaller::Import), Outcome::Done);

    gUserName = QStringLiteral("tanaka");
    ASSERT_TRUE(convert().converted());
    const QString stamp = QStringLiteral("2026/12/08 10:00:00");
    EXPECT_EQ(changesOf(1), (QStringList{"変換 FLG3 0>1", "変換 B1 >" + stamp}));
    EXPECT_EQ(changesOf(2), (QStringList{"変換 FLG3 0>1", "変換 B1 >" + stamp}));
    EXPECT_EQ(count("TBL_ORDER_LOG", "COL_NM = 'FLG2'"), 0); // the run's passing mark
    EXPECT_TRUE(changesOf(3).isEmpty());
    // The run is one entry of the day with its line count, not one per line and column.
    EXPECT_EQ(entries(), 1);
    EXPECT_EQ(count("TBL_ORDER_LOG", "IMP_LN = 0 AND LINE_CNT = 2"), 1);

    Clock::advance(10);
    gUserName = QStringLiteral("suzuki");
    ASSERT_EQ(cancel(), Outcome::Done);
    EXPECT_EQ(changesOf(2).mid(2),
              (QStringList{"変換取消 FLG3 1>0", "変換取消 B1 " + stamp + ">"}));
    EXPECT_EQ(entries(), 2);

    Clock::advance(10);
    gUserName = QStringLiteral("sato");
    ASSERT_EQ(confirm(), Outcome::Done);
    const QString confirmed = QStringLiteral("2026/12/08 10:00:20");
    EXPECT_EQ(changesOf(1).mid(4), (QStringList{"確定 FLG4 0>1", "確定 B2 >" + confirmed}));
    EXPECT_EQ(changesOf(3), (QStringList{"確定 FLG4 0>1", "確定 B2 >" + confirmed}));
    EXPECT_EQ(count("TBL_ORDER_LOG", "IMP_LN = 0 AND LINE_CNT = 3"), 1);
    // Each line shows who made each change and when.
    QStringList who;
    for (const AuditEntry &e : AuditTrail::entries(db(), kDay, 2))
        who << e.user + QLatin1Char(' ') + e.at;
    EXPECT_EQ(
        who, (QStringList{"tanaka " + stamp, "tanaka " + stamp, "suzuki 2026/12/08 10:00:10",
                          "suzuki 2026/12/08 10:00:10", "sato " + confirmed, "sato " + confirmed}));

    // A second confirmation changes no line and logs nothing.
    const int before = entries();
    ASSERT_EQ(confirm(), Outcome::Done);
    EXPECT_EQ(entries(), before);
}

TEST_P(AuditTrailTest, ACancelThatFailsLogsNothingAndKeepsTheRunConverted)
{
    addLines(2);
    ASSERT_TRUE(convert().converted());
    const int afterConversion = entries();
    refuseUpdates(db(), QStringLiteral("TBL_ORDER"), QStringLiteral("FLG3"));
    dialogs.clear();
    EXPECT_EQ(cancel(), Outcome::Failed);
    EXPECT_EQ(entries(), afterConversion);
    EXPECT_EQ(RunList::runs(db(), kDay).first().state, QStringLiteral("変換済"));
}
