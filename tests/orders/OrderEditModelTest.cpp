#include "OrderEditModel.h"
#include "DbConnection.h"
#include "DbTest.h"
#include "OrderLinesFixture.h"
#include "globals.h"

#include <QSignalSpy>

using namespace OrderLinesFixture;

namespace {
const QString kDay = QStringLiteral("Select * From TBL_ORDER Where IMP_DATE = '20261208' And "
                                    "FLG3 = '0' And FLG4 = '0'  Order By IMP_LN");

QList<GridColumn> editColumns()
{
    return {
        GridColumn(QStringLiteral("IMP_DATE"), QStringLiteral("IMP_DATE"), 2000)
            .hidden()
            .readOnly(),
        GridColumn(QStringLiteral("IMP_LN"), QStringLiteral("IMP_LN"), 2000).hidden().readOnly(),
        GridColumn(QStringLiteral("印字機種"), QStringLiteral("PRINTER"), 2000),
        GridColumn(QStringLiteral("数量"), QStringLiteral("SU"), 800),
        GridColumn(QStringLiteral("管理No"), QStringLiteral("KNR_NO"), 1000).readOnly(),
        GridColumn(QStringLiteral("品番"), QStringLiteral("HINBAN"), 1000)};
}
enum { Printer = 2, Su = 3, KnrNo = 4, Hinban = 5 };
} // namespace

class OrderEditModelTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (int ln = 1; ln <= 3; ++ln) {
            Line l;
            l.ln = ln;
            l.hinban = QStringLiteral("H%1").arg(ln);
            add(db(), l);
        }
        model = std::make_unique<OrderEditModel>([this] { return session.db(); });
        model->setColumns(editColumns());
        model->setQuery(settings(), kDay);
        failures = std::make_unique<QSignalSpy>(model.get(), &PagedQueryModel::writeFailed);
    }
    void TearDown() override
    {
        failures.reset();
        model.reset();
        DbTest::TearDown();
    }
    bool type(int row, int column, const QVariant &value)
    {
        return model->setData(model->index(row, column), value);
    }
    QStringList failureTexts() const
    {
        QStringList texts;
        for (const QList<QVariant> &f : *failures)
            texts << f.at(0).toString();
        return texts;
    }

    std::unique_ptr<OrderEditModel> model;
    std::unique_ptr<QSignalSpy> failures;
};
INSTANTIATE_ENGINES(OrderEditModelTest);

TEST_P(OrderEditModelTest, EditsOfALineAreWrittenTogetherWhenTheLineIsLeft)
{
    ASSERT_TRUE(type(0, Printer, QStringLiteral("O'Brien 熱転写")));
    ASSERT_TRUE(type(0, Su, QStringLiteral(" 25 ")));
    EXPECT_EQ(model->pendingRow(), 0);
    EXPECT_EQ(model->text(0, Su), QStringLiteral("25"));
    EXPECT_EQ(valueOf(db(), 1, "PRINTER"), QString()); // not yet: the line is still edited

    ASSERT_TRUE(model->writePendingRow());
    EXPECT_EQ(model->pendingRow(), -1);
    EXPECT_EQ(valueOf(db(), 1, "PRINTER"), QStringLiteral("O'Brien 熱転写")); // as typed
    EXPECT_EQ(valueOf(db(), 1, "SU"), QStringLiteral("25"));
    EXPECT_EQ(valueOf(db(), 2, "SU"), QStringLiteral("10"));

    // A second edit of the same line compares with what was written, not what was first read.
    ASSERT_TRUE(type(0, Su, 30));
    ASSERT_TRUE(model->writePendingRow());
    EXPECT_EQ(valueOf(db(), 1, "SU"), QStringLiteral("30"));

    // An emptied cell stores the empty text.
    ASSERT_TRUE(type(0, Printer, QVariant()));
    ASSERT_TRUE(model->writePendingRow());
    EXPECT_EQ(count("TBL_ORDER", "IMP_LN = 1 AND PRINTER = ''"), 1);

    // Editing another line first writes the one left behind.
    ASSERT_TRUE(type(1, Hinban, QStringLiteral("X2")));
    ASSERT_TRUE(type(2, Hinban, QStringLiteral("X3")));
    EXPECT_EQ(valueOf(db(), 2, "HINBAN"), QStringLiteral("X2"));
    EXPECT_EQ(valueOf(db(), 3, "HINBAN"), QStringLiteral("H3"));
    EXPECT_EQ(model->pendingRow(), 2);
    EXPECT_TRUE(failureTexts().isEmpty());
}

TEST_P(OrderEditModelTest, ANumberColumnRefusesTextAndKeepsItsValue)
{
    for (const QString &typed :
         {QStringLiteral("abc"), QStringLiteral("1.5"), QString(), QStringLiteral("99999999999")}) {
        EXPECT_FALSE(type(0, Su, typed)) << typed.toStdString();
        EXPECT_EQ(model->text(0, Su), QStringLiteral("10"));
    }
    EXPECT_EQ(failureTexts().size(), 4);
    EXPECT_EQ(failureTexts().value(0), QStringLiteral("「数量」には整数を入力してください。"));
    EXPECT_FALSE(model->hasPendingEdits());
    EXPECT_FALSE(type(0, KnrNo, QStringLiteral("ZZ-1"))); // locked
    EXPECT_EQ(valueOf(db(), 1, "SU"), QStringLiteral("10"));

    // Digits typed with the input method on are full-width: the same number.
    EXPECT_TRUE(type(0, Su, QStringLiteral("\uFF11\uFF12\uFF10")));
    EXPECT_TRUE(model->writePendingRow());
    EXPECT_EQ(valueOf(db(), 1, "SU"), QStringLiteral("120"));
}

TEST_P(OrderEditModelTest, ALineChangedElsewhereIsNotOverwrittenAndIsShownAsItIsNow)
{
    auto other = openSecond();
    other->exec(QStringLiteral("UPDATE TBL_ORDER SET PRINTER = 'TTP-1' WHERE IMP_LN = 2"));

    ASSERT_TRUE(type(1, Su, 99)); // a column the other workstation did not touch
    EXPECT_FALSE(model->writePendingRow());
    EXPECT_EQ(failureTexts(), QStringList{QStringLiteral(
                                  "他の端末でこの行が変更されています。最新の内容を表示します。")});
    EXPECT_EQ(valueOf(db(), 2, "SU"), QStringLiteral("10"));
    EXPECT_EQ(valueOf(db(), 2, "PRINTER"), QStringLiteral("TTP-1"));
    EXPECT_EQ(model->text(1, Printer), QStringLiteral("TTP-1")); // the line reloaded
    EXPECT_EQ(model->text(1, Su), QStringLiteral("10"));

    // Now the screen knows the line as it is: the same edit goes through.
    ASSERT_TRUE(type(1, Su, 99));
    EXPECT_TRUE(model->writePendingRow());
    EXPECT_EQ(valueOf(db(), 2, "SU"), QStringLiteral("99"));
    // When the line cannot be read again, the grid shows what it read, not the edit that was
    // never written, and says so.
    int connections = 0;
    OrderEditModel lost(
        [this, &connections]() -> Db * { return connections++ == 0 ? session.db() : nullptr; });
    QSignalSpy lostFailures(&lost, &PagedQueryModel::writeFailed);
    lost.setColumns(editColumns());
    lost.setQuery(settings(), kDay);
    other->exec(QStringLiteral("UPDATE TBL_ORDER SET PRINTER = 'TTP-2' WHERE IMP_LN = 3"));
    ASSERT_TRUE(lost.setData(lost.index(2, Hinban), QStringLiteral("X")));
    EXPECT_FALSE(lost.writePendingRow());
    ASSERT_EQ(lostFailures.size(), 1);
    EXPECT_EQ(lostFailures.at(0).at(0).toString(), OrderEditModel::reloadFailedText(QStringLiteral(
                                                       "データベースに接続されていません。")));
    EXPECT_EQ(lost.text(2, Hinban), QStringLiteral("H3"));
    EXPECT_FALSE(lost.hasPendingEdits());
    EXPECT_EQ(valueOf(db(), 3, "HINBAN"), QStringLiteral("H3"));
}

TEST_P(OrderEditModelTest, ALineDeletedElsewhereIsReportedAndLeavesTheGrid)
{
    auto other = openSecond();
    other->exec(QStringLiteral("DELETE FROM TBL_ORDER WHERE IMP_LN = 1"));
    ASSERT_TRUE(type(0, Hinban, QStringLiteral("X")));
    EXPECT_FALSE(model->writePendingRow());
    EXPECT_EQ(failureTexts().size(), 1);
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->text(0, Hinban), QStringLiteral("H2"));
    EXPECT_EQ(count("TBL_ORDER"), 2);
}

TEST_P(OrderEditModelTest, DeleteTakesOnlyALineThatIsUnchanged)
{
    auto other = openSecond();
    other->exec(QStringLiteral("UPDATE TBL_ORDER SET HINBAN = 'NEW' WHERE IMP_LN = 3"));
    try {
        model->deleteRow(2);
        ADD_FAILURE() << "a changed line was deleted";
    } catch (const DbError &e) {
        EXPECT_EQ(e.text(), OrderLineStore::conflictText());
    }
    EXPECT_EQ(count("TBL_ORDER", "IMP_LN = 3"), 1);
    EXPECT_EQ(model->text(2, Hinban), QStringLiteral("NEW"));

    // Unwritten edits of the line go with it; the line as read is what is deleted.
    ASSERT_TRUE(type(0, Hinban, QStringLiteral("X")));
    EXPECT_TRUE(model->deleteRow(0));
    EXPECT_EQ(count("TBL_ORDER", "IMP_LN = 1"), 0);
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_FALSE(model->hasPendingEdits());
    EXPECT_TRUE(model->deleteRow(1)); // the reloaded line can be deleted now
    EXPECT_EQ(count("TBL_ORDER"), 1);
}

TEST_P(OrderEditModelTest, ADatabaseErrorIsReportedAndTheReadValuesComeBack)
{
    ASSERT_TRUE(type(0, Hinban, QStringLiteral("X")));
    session.shutdown(); // the shared connection is gone
    EXPECT_FALSE(model->writePendingRow());
    EXPECT_EQ(failureTexts().size(), 1);
    EXPECT_EQ(model->text(0, Hinban), QStringLiteral("H1"));
    EXPECT_FALSE(model->hasPendingEdits());
}
