#include "DbTest.h"

#include "DbConnection.h"
#include "Schema.h"
#include "globals.h"

class DatabaseTest : public DbTest {};
INSTANTIATE_ENGINES(DatabaseTest);

TEST_P(DatabaseTest, QuotedAndBoundValuesStoreApostrophesAsTyped)
{
    const QString nasty = QStringLiteral("O'Brien; DROP TABLE MST_BRAND --");
    db().exec(QStringLiteral("INSERT INTO MST_BRAND(BR_CD, BR_NM) VALUES(:cd, :nm)"),
              {{QStringLiteral("cd"), QStringLiteral("B1")}, {QStringLiteral("nm"), nasty}});
    db().exec(QStringLiteral("INSERT INTO MST_BRAND(BR_CD, BR_NM) VALUES('B2', ") +
              Db::quote(nasty) + QLatin1Char(')'));
    EXPECT_EQ(count(QStringLiteral("MST_BRAND"), QStringLiteral("BR_NM = ") + Db::quote(nasty)), 2);
}

TEST_P(DatabaseTest, TransactionRollsBackUnlessCommittedAndNests)
{
    {
        Transaction outer(db());
        db().exec(QStringLiteral("INSERT INTO MST_ROW(ROW) VALUES('01')"));
        {
            Transaction inner(db());
            db().exec(QStringLiteral("INSERT INTO MST_ROW(ROW) VALUES('02')"));
        } // inner rolled back to its savepoint
        outer.commit();
    }
    {
        Transaction dropped(db());
        db().exec(QStringLiteral("INSERT INTO MST_ROW(ROW) VALUES('03')"));
    }
    EXPECT_EQ(count(QStringLiteral("MST_ROW")), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT ROW FROM MST_ROW")).toString(),
              QStringLiteral("01"));
}

TEST_P(DatabaseTest, FailingStatementThrowsWithTextAndNumber)
{
    try {
        db().exec(QStringLiteral("SELECT * FROM NO_SUCH_TABLE"));
        FAIL() << "no error";
    } catch (const DbError &e) {
        EXPECT_FALSE(e.text().isEmpty());
        EXPECT_FALSE(e.number().isEmpty());
        EXPECT_TRUE(e.describe().endsWith(QLatin1Char(')')));
    }
}

TEST_P(DatabaseTest, BulkInsertLoadsAwkwardTextExactly)
{
    const QString awkward = QStringLiteral("tab\there\\back\nline\r'quote\"dq 髙①ｶﾀｶﾅ");
    {
        BulkInserter bulk(
            db(), QStringLiteral("WRK_RPT"),
            {QStringLiteral("IMP_DATE"), QStringLiteral("IMP_LN"), QStringLiteral("SHO_NM1")});
        for (int i = 1; i <= 2500; ++i)
            bulk.add({QStringLiteral("20261208"), i, awkward});
        bulk.finish();
        EXPECT_EQ(bulk.count(), 2500);
    }
    EXPECT_EQ(count(QStringLiteral("WRK_RPT")), 2500);
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT SHO_NM1 FROM WRK_RPT WHERE IMP_LN = 2500")).toString(),
        awkward);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT SUM(IMP_LN) FROM WRK_RPT")).toLongLong(),
              2500LL * 2501 / 2);
}

TEST_P(DatabaseTest, BulkInsertFailureLeavesNothingInItsOwnTransaction)
{
    try {
        BulkInserter bulk(db(), QStringLiteral("MST_ROW"), {QStringLiteral("ROW")});
        bulk.add({QStringLiteral("01")});
        bulk.add({QStringLiteral("01")}); // duplicate key
        bulk.finish();
        FAIL() << "duplicate accepted";
    } catch (const DbError &) {
    }
    EXPECT_EQ(count(QStringLiteral("MST_ROW")), 0);
    EXPECT_EQ(db().transactionDepth(), 0);
}

TEST_P(DatabaseTest, IntegerAverageTruncatesOnBothEngines)
{
    // The lot average is Sum/Count on integers, as the old server averaged an integer column.
    db().exec(
        QStringLiteral("INSERT INTO MST_QULPLATE(QUL_KEY, SU) VALUES('A', 1), ('B', 2), ('C', 2)"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT SUM(SU)/COUNT(SU) FROM MST_QULPLATE")).toInt(), 1);
}

TEST_P(DatabaseTest, TextSortsByCodePoint)
{
    db().exec(QStringLiteral("INSERT INTO MST_ROW(ROW) VALUES('b'), ('B'), ('a'), ('ア'), ('1')"));
    QStringList order;
    for (const QSqlRecord &r : db().rows(QStringLiteral("SELECT ROW FROM MST_ROW ORDER BY ROW")))
        order << r.value(0).toString();
    EXPECT_EQ(order.join(QLatin1Char(',')), QStringLiteral("1,B,a,b,ア"));
    // LIKE is case-sensitive on both engines.
    EXPECT_EQ(count(QStringLiteral("MST_ROW"), QStringLiteral("ROW LIKE 'b%'")), 1);
}

TEST_P(DatabaseTest, SchemaRefusesASecondCreation)
{
    QString message;
    EXPECT_EQ(Schema::create(db(), &message), Outcome::Refused);
    EXPECT_EQ(message, QStringLiteral("テーブルは既に作成されています。"));
}

TEST_P(DatabaseTest, DbOpenReusesTheLiveConnectionAndKeepsTheCountRules)
{
    Db *first = session.db();
    const int before = session.openCount();
    EXPECT_EQ(session.open(dialogs), Outcome::Done);
    EXPECT_EQ(session.db(), first);
    EXPECT_EQ(session.openCount(), before + 1);
    session.close(); // count above 1: the connection stays open
    EXPECT_TRUE(session.db()->isOpen());
    EXPECT_EQ(session.open(dialogs, 1), Outcome::Done);
    session.close(1);
    EXPECT_EQ(session.openCount(), before + 1);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_P(DatabaseTest, DbCloseClosesWhenOnlyOneOpenWasCounted)
{
    ASSERT_EQ(session.openCount(), 1);
    session.close();
    EXPECT_FALSE(session.db()->isOpen());
    EXPECT_EQ(session.open(dialogs), Outcome::Done); // reconnects
    EXPECT_TRUE(session.db()->isOpen());
    EXPECT_EQ(count(QStringLiteral("SYS_TUKI")), 0);
}

TEST_P(DatabaseTest, StatementTimeoutStopsALongStatement)
{
    const QString slow =
        isPostgreSQL()
            ? QStringLiteral("SELECT pg_sleep(3)")
            : QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
                             "WHERE x < 100000000) SELECT COUNT(*) FROM c");
    StatementTimeout limit(db(), 200);
    EXPECT_THROW(db().scalar(slow), DbError);
}
