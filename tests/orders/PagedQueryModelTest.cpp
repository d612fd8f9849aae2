#include "DbTest.h"

#include "GridNumberFormat.h"
#include "PagedQueryModel.h"

#include <QSignalSpy>

namespace {

const QString kErrors = QStringLiteral("Select * From TBL_ERR Order By IMP_LN ");

void fillErrors(Db &db, int lines)
{
    BulkInserter bulk(db, QStringLiteral("TBL_ERR"),
                      {QStringLiteral("IMP_DATE"), QStringLiteral("IMP_LN"),
                       QStringLiteral("ERR_LN"), QStringLiteral("ERR1"), QStringLiteral("ERR2")});
    for (int i = 1; i <= lines; ++i)
        bulk.add({QStringLiteral("20261208"), i, 1, QStringLiteral("AB-%1").arg(i),
                  QStringLiteral("ネーム種が未登録です。")});
    bulk.finish();
}

QList<GridColumn> errorColumns()
{
    return {GridColumn{QStringLiteral("IMP_LN"), QStringLiteral("IMP_LN"), 700}.hidden(),
            GridColumn{QStringLiteral("管理No"), QStringLiteral("ERR1"), 900},
            GridColumn{QStringLiteral("内容1"), QStringLiteral("ERR2"), 3500}};
}

// The hooks an editable grid builds on.
class EditableModel : public PagedQueryModel {
public:
    using PagedQueryModel::appendLocalRow;
    using PagedQueryModel::dropRow;
    using PagedQueryModel::rowValues;
    using PagedQueryModel::setCachedValue;
};

} // namespace

class PagedQueryModelTest : public DbTest {};
INSTANTIATE_ENGINES(PagedQueryModelTest);

TEST_P(PagedQueryModelTest, ReadsOnlyThePagesTheGridReachesAndKeepsMemoryBounded)
{
    fillErrors(db(), 10000);
    PagedQueryModel model;
    model.setColumns(errorColumns());
    model.setCacheLimit(3 * 256 * 6); // three pages of the six TBL_ERR fields
    model.setQuery(db().settings(), kErrors);

    EXPECT_EQ(model.rowCount(), 10000);
    EXPECT_EQ(model.pagesFetched(), 1);
    EXPECT_EQ(model.cachedRows(), 256);

    // Straight to the end, as when the operator drags the scroll bar down.
    EXPECT_EQ(model.text(9999, 1), QStringLiteral("AB-10000"));
    EXPECT_EQ(model.pagesFetched(), 2);

    // Every row, in order, with no more than the cache limit in memory.
    for (int row = 0; row < 10000; ++row) {
        ASSERT_EQ(model.value(row, 0).toInt(), row + 1) << row;
        ASSERT_LE(model.cachedRows(), 3 * 256);
    }
    // Back to the top after the first pages were dropped: read again, same rows.
    EXPECT_EQ(model.text(0, 1), QStringLiteral("AB-1"));
    EXPECT_EQ(model.text(300, 2), QStringLiteral("ネーム種が未登録です。"));
    EXPECT_FALSE(model.isSourceReleased());
}

// The order condition reaches the grid as bound values: PostgreSQL cannot prepare the cursor's
// DECLARE, and SQLite runs its statement again for a page before its position. Both must keep
// the values, quotes and a placeholder-like text in them included.
TEST_P(PagedQueryModelTest, BoundValuesSelectTheSameRowsOnEveryPage)
{
    fillErrors(db(), 600);
    db().exec(QStringLiteral("UPDATE TBL_ERR SET ERR2 = 'O''NEIL :d' WHERE IMP_LN > 100"));
    PagedQueryModel model;
    model.setColumns(errorColumns());
    model.setCacheLimit(256 * 6); // one page: an earlier page is read again
    model.setQuery(db().settings(),
                   QStringLiteral("Select * From TBL_ERR Where IMP_DATE = :d And ERR2 = :v "
                                  "Order By IMP_LN "),
                   {{QStringLiteral("d"), QStringLiteral("20261208")},
                    {QStringLiteral("v"), QStringLiteral("O'NEIL :d")}});
    EXPECT_EQ(model.rowCount(), 500);
    EXPECT_EQ(model.text(499, 1), QStringLiteral("AB-600"));
    EXPECT_EQ(model.text(0, 1), QStringLiteral("AB-101"));
    EXPECT_EQ(model.text(0, 2), QStringLiteral("O'NEIL :d"));
}

TEST_P(PagedQueryModelTest, ShowsExactlyTheDefinedColumnsWhateverTheSelectReturns)
{
    fillErrors(db(), 3);
    PagedQueryModel model;
    model.setColumns(errorColumns());
    // Extra fields, a missing one (ERR2) and a name in other case.
    model.setQuery(db().settings(),
                   QStringLiteral("Select ERR3, err1, IMP_LN, IMP_DATE From TBL_ERR Order By 3"));
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("IMP_LN"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("管理No"));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("内容1"));
    EXPECT_EQ(model.text(2, 1), QStringLiteral("AB-3"));
    EXPECT_EQ(model.text(2, 2), QString()); // ERR2 not selected: an empty cell
    EXPECT_EQ(model.columnOfField(QStringLiteral("err2")), 2);
    EXPECT_EQ(model.fieldValue(0, QStringLiteral("imp_date")).toString(),
              QStringLiteral("20261208"));
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);

    // A refill with other fields keeps the same three columns.
    model.setQuery(db().settings(), QStringLiteral("Select 1 AS X"));
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.text(0, 1), QString());
}

TEST_P(PagedQueryModelTest, JapaneseAliasesAndNumberFormats)
{
    db().exec(QStringLiteral("INSERT INTO MST_CAR(CAR_CD, PRICE) VALUES('N1', 12.5), "
                             "('N2', 1234), ('N3', 0)"));
    PagedQueryModel model;
    model.setColumns({GridColumn{QStringLiteral("ネーム種"), QStringLiteral("ネーム種"), 1000},
                      GridColumn{QStringLiteral("単価"), QStringLiteral("PRICE"), 1000}.format(
                          QStringLiteral("##0.00"))});
    model.setQuery(db().settings(), QStringLiteral("Select CAR_CD AS \"ネーム種\", PRICE From "
                                                   "MST_CAR Order By CAR_CD"));
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.text(0, 0), QStringLiteral("N1"));
    EXPECT_EQ(model.text(0, 1), QStringLiteral("12.50"));
    EXPECT_EQ(model.text(1, 1), QStringLiteral("1234.00"));
    EXPECT_EQ(model.text(2, 1), QStringLiteral("0.00"));
    EXPECT_EQ(model.data(model.index(0, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
              Qt::AlignRight);
}

TEST(GridNumberFormatTest, FormatsLikeTheDesksGrids)
{
    EXPECT_EQ(GridNumberFormat::apply(12.5, QStringLiteral("##0.00")), QStringLiteral("12.50"));
    EXPECT_EQ(GridNumberFormat::apply(0.125, QStringLiteral("##0.00")), QStringLiteral("0.13"));
    EXPECT_EQ(GridNumberFormat::apply(-3.456, QStringLiteral("##0.00")), QStringLiteral("-3.46"));
    EXPECT_EQ(GridNumberFormat::apply(1234567, QStringLiteral("#,##0")),
              QStringLiteral("1,234,567"));
    EXPECT_EQ(GridNumberFormat::apply(7, QStringLiteral("000")), QStringLiteral("007"));
    EXPECT_EQ(GridNumberFormat::apply(1.5, QStringLiteral("0.##")), QStringLiteral("1.5"));
    EXPECT_EQ(GridNumberFormat::apply(QStringLiteral("12.5"), QStringLiteral("##0.00")),
              QStringLiteral("12.50"));
    EXPECT_EQ(GridNumberFormat::apply(QStringLiteral("abc"), QStringLiteral("##0.00")),
              QStringLiteral("abc"));
    EXPECT_EQ(GridNumberFormat::apply(QVariant(), QStringLiteral("##0.00")), QString());
}

TEST_P(PagedQueryModelTest, FailingQueryLeavesAnEmptyModelWithItsColumns)
{
    PagedQueryModel model;
    model.setColumns(errorColumns());
    try {
        model.setQuery(db().settings(), QStringLiteral("Select * From NO_SUCH_TABLE"));
        FAIL() << "no error";
    } catch (const DbError &error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("no_such_table"), Qt::CaseInsensitive))
            << error.text().toStdString();
    }
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 3);

    // The same model fills normally afterwards.
    fillErrors(db(), 2);
    model.setQuery(db().settings(), kErrors);
    EXPECT_EQ(model.rowCount(), 2);
}

TEST_P(PagedQueryModelTest, PagesComeFromTheSnapshotOfTheFill)
{
    fillErrors(db(), 1000);
    PagedQueryModel model;
    model.setColumns(errorColumns());
    model.setQuery(db().settings(), kErrors);
    ASSERT_EQ(model.rowCount(), 1000);

    // Another workstation changes the table while the grid is open.
    auto other = openSecond();
    other->exec(QStringLiteral("DELETE FROM TBL_ERR WHERE IMP_LN <= 500"));
    other->exec(QStringLiteral("UPDATE TBL_ERR SET ERR1 = 'changed'"));

    // The rows not read yet still belong to the count the grid shows.
    EXPECT_EQ(model.text(999, 1), QStringLiteral("AB-1000"));
    EXPECT_EQ(model.text(600, 1), QStringLiteral("AB-601"));

    // The next fill shows the change.
    model.setQuery(db().settings(), kErrors);
    EXPECT_EQ(model.rowCount(), 500);
    EXPECT_EQ(model.text(0, 1), QStringLiteral("changed"));
}

TEST_P(PagedQueryModelTest, SmallResultHoldsNothingOpen)
{
    fillErrors(db(), 10);
    PagedQueryModel model;
    model.setColumns(errorColumns());
    model.setQuery(db().settings(), kErrors);
    EXPECT_TRUE(model.isSourceReleased());
    EXPECT_EQ(model.text(9, 1), QStringLiteral("AB-10"));

    // A larger one gives its statement back once every page has been read.
    db().exec(QStringLiteral("UPDATE TBL_ERR SET IMP_DATE = '20261207'"));
    fillErrors(db(), 600);
    model.setQuery(db().settings(), kErrors + QStringLiteral(", IMP_DATE"));
    EXPECT_FALSE(model.isSourceReleased());
    for (int row = 0; row < model.rowCount(); ++row)
        model.text(row, 1);
    EXPECT_TRUE(model.isSourceReleased());
    // The table the grid showed can be dropped: the grid holds no lock on it any more.
    StatementTimeout limit(db(), 5000);
    db().exec(QStringLiteral("DROP TABLE TBL_ERR"));
}

TEST_P(PagedQueryModelTest, LostConnectionIsReportedOnceAndShowsNoMoreRows)
{
    if (!isPostgreSQL())
        GTEST_SKIP() << "a SQLite file cannot be taken away from an open connection";
    fillErrors(db(), 2000);
    PagedQueryModel model;
    model.setColumns(errorColumns());
    model.setQuery(db().settings(), kErrors);
    QSignalSpy failed(&model, &PagedQueryModel::fetchFailed);
    // The grid's own connection is the one reading this test's TBL_ERR.
    db().exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_locks WHERE relation = "
                             "'tbl_err'::regclass AND pid <> pg_backend_pid()"));
    EXPECT_EQ(model.text(1999, 1), QString());
    EXPECT_EQ(model.text(1500, 1), QString());
    EXPECT_TRUE(failed.wait(1000));
    EXPECT_EQ(failed.count(), 1);
    EXPECT_FALSE(failed.at(0).at(0).toString().isEmpty());
    // The rows already read stay.
    EXPECT_EQ(model.text(0, 1), QStringLiteral("AB-1"));
    // The next fill works on a fresh connection.
    model.setQuery(db().settings(), kErrors);
    EXPECT_EQ(model.text(1999, 1), QStringLiteral("AB-2000"));
}

TEST_P(PagedQueryModelTest, EditableGridsKeepWrittenValuesDeletedAndAddedRows)
{
    fillErrors(db(), 1000);
    EditableModel model;
    model.setColumns(errorColumns());
    model.setCacheLimit(2 * 256 * 6);
    model.setQuery(db().settings(), kErrors);

    const int erR1 = model.fieldIndex(QStringLiteral("ERR1"));
    model.setCachedValue(10, erR1, QStringLiteral("written"));
    model.dropRow(5);
    model.dropRow(5); // the line that moved up into row 5
    EXPECT_EQ(model.rowCount(), 998);
    EXPECT_EQ(model.text(4, 1), QStringLiteral("AB-5"));
    EXPECT_EQ(model.text(5, 1), QStringLiteral("AB-8"));
    EXPECT_EQ(model.text(8, 1), QStringLiteral("written")); // former row 10

    // The written value survives its page being dropped from memory and read again.
    for (int row = 0; row < model.rowCount(); ++row)
        model.text(row, 1);
    EXPECT_EQ(model.text(8, 1), QStringLiteral("written"));
    EXPECT_EQ(model.text(997, 1), QStringLiteral("AB-1000"));

    const int added = model.appendLocalRow({QStringLiteral("20261208"), 1001});
    EXPECT_EQ(added, 998);
    EXPECT_EQ(model.value(added, 0).toInt(), 1001);
    model.setCachedValue(added, erR1, QStringLiteral("new"));
    EXPECT_EQ(model.text(added, 1), QStringLiteral("new"));
    EXPECT_EQ(model.rowValues(added).size(), model.fieldNames().size());
}
