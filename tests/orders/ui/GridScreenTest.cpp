#include "DbTest.h"

#include "FunctionKeyBar.h"
#include "FunctionKeyLabel.h"
#include "GridScreen.h"
#include "GridView.h"
#include "PagedQueryModel.h"
#include "ScreenRegistry.h"
#include "Session.h"
#include "globals.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace {

void fillErrors(Db &db, int lines)
{
    BulkInserter bulk(db, QStringLiteral("TBL_ERR"),
                      {QStringLiteral("IMP_DATE"), QStringLiteral("IMP_LN"),
                       QStringLiteral("ERR_LN"), QStringLiteral("ERR1"), QStringLiteral("ERR2")});
    for (int i = 1; i <= lines; ++i)
        bulk.add({QStringLiteral("20261208"), i, 1, QStringLiteral("AB-%1").arg(i),
                  QStringLiteral("品質キーが未登録です。")});
    bulk.finish();
}

// Writes 内容1 (ERR2) of a finding; "NG" is refused by the database.
class EditableModel : public PagedQueryModel {
public:
    EditableModel(Session &session, QObject *parent) : PagedQueryModel(parent), m_session(session)
    {
    }

protected:
    bool isCellEditable(int, int) const override { return true; }
    bool writeCell(int row, int column, const QVariant &value) override
    {
        if (columns().at(column).field != QLatin1String("ERR2"))
            return false;
        if (value.toString() == QLatin1String("NG"))
            throw DbError(QStringLiteral("書き込めません。"), QStringLiteral("1"));
        return m_session.db()->exec(
                   QStringLiteral("UPDATE TBL_ERR SET ERR2 = :v WHERE IMP_LN = :ln"),
                   {{QStringLiteral("v"), value},
                    {QStringLiteral("ln"), fieldValue(row, QStringLiteral("IMP_LN"))}}) == 1;
    }

private:
    Session &m_session;
};

// Records the keys that reach a control.
class KeyRecorder : public QObject {
public:
    QList<int> keys;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
            keys << key;
        return false;
    }
};

class TestScreen : public GridScreen {
public:
    // Built with the test's session, which DbTest hands to the screen registry.
    explicit TestScreen(bool editable = false)
        : GridScreen(*ScreenRegistry::instance().session()), m_editable(editable)
    {
        setFormSizeTwips(13500, 10000);
        setRecordCountInToolTip(true);
    }

    QList<GridColumn> columns = {
        GridColumn{QStringLiteral("IMP_DATE"), QStringLiteral("IMP_DATE"), 2000}
            .hidden()
            .readOnly(),
        GridColumn{QStringLiteral("行"), QStringLiteral("ERR_LN"), 300},
        GridColumn{QStringLiteral("管理No"), QStringLiteral("ERR1"), 900},
        GridColumn{QStringLiteral("内容1"), QStringLiteral("ERR2"), 3500}};
    QString sql = QStringLiteral("Select * From TBL_ERR Order By IMP_LN ");
    QStringList keys = {QStringLiteral("終了"),
                        QString(),
                        QString(),
                        QStringLiteral("検索"),
                        QString(),
                        QStringLiteral("削除"),
                        QString(),
                        QStringLiteral("EXCEL")};
    QList<int> pressed;
    QList<int> edits;
    int enters = 0;
    int doubleClicks = 0;
    bool refuseEdits = false;

protected:
    QList<GridColumn> gridColumns() const override { return columns; }
    QString gridSql() override { return sql; }
    QStringList functionKeyCaptions() const override { return keys; }
    void onFunctionKey(int key) override
    {
        pressed << key;
        if (key == 8)
            excelOut();
        else
            GridScreen::onFunctionKey(key);
    }
    bool onGridEnter() override
    {
        ++enters;
        return true;
    }
    void onGridDoubleClick() override { ++doubleClicks; }
    bool mayEditColumn(int column) override
    {
        edits << column;
        return !refuseEdits;
    }
    PagedQueryModel *createModel() override
    {
        return m_editable ? new EditableModel(m_session, this) : GridScreen::createModel();
    }

private:
    bool m_editable;
};

std::unique_ptr<TestScreen> openScreen(bool editable = false, int rows = 0, Db *db = nullptr)
{
    if (db && rows)
        fillErrors(*db, rows);
    auto screen = std::make_unique<TestScreen>(editable);
    screen->initialise();
    screen->show();
    screen->activateWindow();
    screen->gridView->setFocus();
    QApplication::processEvents();
    return screen;
}

} // namespace

class GridScreenTest : public DbTest {};
INSTANTIATE_ENGINES(GridScreenTest);

TEST_P(GridScreenTest, FunctionKeysActOnlyWhenEnabledAndWithoutShiftCtrlAlt)
{
    auto screen = openScreen(false, 3, &db());
    for (int i = 0; i < FunctionKeyBar::kKeys; ++i) {
        const FunctionKeyLabel *label = screen->functionKeyLabel(i);
        const bool active = i == 0 || i == 3 || i == 5 || i == 7;
        EXPECT_EQ(label->isEnabled(), active) << i;
        EXPECT_EQ(label->font().bold(), active) << i;
        EXPECT_EQ(label->text().isEmpty(), !active) << i;
        if (i > 0) { // left to right in key order
            EXPECT_GT(label->x(), screen->functionKeyLabel(i - 1)->x());
        }
    }
    EXPECT_EQ(screen->functionKeyLabel(3)->text(), QStringLiteral("検索"));

    KeyRecorder grid;
    screen->gridView->installEventFilter(&grid);
    QTest::keyClick(screen->gridView, Qt::Key_F4);
    EXPECT_EQ(screen->pressed, QList<int>{4});
    EXPECT_TRUE(grid.keys.isEmpty()); // consumed by the screen

    for (const Qt::KeyboardModifier m : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
        QTest::keyClick(screen->gridView, Qt::Key_F4, m);
    QTest::keyClick(screen->gridView, Qt::Key_F2); // no action on F2
    QTest::keyClick(screen->gridView, Qt::Key_F12);
    EXPECT_EQ(screen->pressed, QList<int>{4});
    EXPECT_EQ(grid.keys, QList<int>({Qt::Key_F4, Qt::Key_F4, Qt::Key_F4, Qt::Key_F2, Qt::Key_F12}));
}

TEST_P(GridScreenTest, ClickingALabelIsPressingItsKey)
{
    auto screen = openScreen(false, 3, &db());
    QTest::mouseClick(screen->functionKeyLabel(5), Qt::LeftButton);
    QTest::mouseClick(screen->functionKeyLabel(1), Qt::LeftButton); // disabled: nothing
    EXPECT_EQ(screen->pressed, QList<int>{6});

    // Label 7 exports as F8 does.
    QTest::mouseClick(screen->functionKeyLabel(7), Qt::LeftButton);
    EXPECT_EQ(screen->pressed, QList<int>({6, 8}));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].endsWith(QStringLiteral(".xlsx")));

    // F1 closes the screen.
    QTest::mouseClick(screen->functionKeyLabel(0), Qt::LeftButton);
    EXPECT_FALSE(screen->isVisible());
}

TEST_P(GridScreenTest, RefillKeepsExactlyTheDefinedColumns)
{
    auto screen = openScreen(false, 3, &db());
    PagedQueryModel *model = screen->model();
    auto checkColumns = [&] {
        ASSERT_EQ(model->columnCount(), 4);
        EXPECT_TRUE(screen->gridView->isColumnHidden(0));
        // Designed widths in twips (15 per pixel), widened only where the heading would be cut.
        const QFontMetrics header = screen->gridView->horizontalHeader()->fontMetrics();
        for (const auto &[c, designed] : {std::pair{1, 20}, {2, 60}, {3, 233}}) {
            const int width = screen->gridView->columnWidth(c);
            const QString caption = model->headerData(c, Qt::Horizontal).toString();
            EXPECT_GE(width, designed);
            EXPECT_GT(width, header.horizontalAdvance(caption));
            EXPECT_TRUE(width == designed || width <= header.horizontalAdvance(caption) + 10);
        }
        EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("管理No"));
    };
    checkColumns();
    EXPECT_EQ(screen->columnText(QStringLiteral("ERR1")), QStringLiteral("AB-1"));
    EXPECT_EQ(screen->columnText(0), QStringLiteral("20261208")); // hidden key column
    EXPECT_EQ(screen->gridView->toolTip(), QStringLiteral("3"));

    screen->sql = QStringLiteral("Select ERR3, IMP_LN, ERR1 AS err1, 'x' AS EXTRA From TBL_ERR "
                                 "Where IMP_LN > 1 Order By IMP_LN");
    ASSERT_TRUE(screen->fillGrid());
    checkColumns();
    EXPECT_EQ(screen->statement, screen->sql);
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(screen->columnText(QStringLiteral("ERR1")), QStringLiteral("AB-2"));
    EXPECT_EQ(screen->columnText(QStringLiteral("ERR2")), QString()); // not selected
    EXPECT_EQ(screen->gridView->toolTip(), QStringLiteral("2"));

    screen->sql = QStringLiteral("Select * From TBL_ERR Where IMP_LN > 99");
    ASSERT_TRUE(screen->fillGrid());
    checkColumns();
    EXPECT_EQ(screen->columnText(QStringLiteral("ERR1")), QString()); // no current row
}

TEST_P(GridScreenTest, ResizeFollowsTheWindowAndSurvivesATinyWindow)
{
    auto screen = openScreen(false, 3, &db());
    EXPECT_EQ(screen->size(), QSize(900, 666));
    const int bar = screen->functionKeyBar->height();
    EXPECT_EQ(screen->gridView->geometry(), QRect(0, 0, 900, 666 - bar));
    EXPECT_EQ(screen->functionKeyBar->geometry(), QRect(0, 666 - bar, 900, bar));

    screen->resize(30, 10);
    QApplication::processEvents();
    EXPECT_EQ(screen->gridView->height(), 0);
    EXPECT_EQ(screen->functionKeyBar->y(), 0);

    screen->resize(500, 400);
    QApplication::processEvents();
    EXPECT_EQ(screen->gridView->geometry(), QRect(0, 0, 500, 400 - bar));
    EXPECT_EQ(screen->functionKeyBar->geometry(), QRect(0, 400 - bar, 500, bar));
}

TEST_P(GridScreenTest, GridReadsPagesAsItIsScrolled)
{
    auto screen = openScreen(false, 10000, &db());
    PagedQueryModel *model = screen->model();
    QTest::qWait(20);
    EXPECT_EQ(model->rowCount(), 10000);
    EXPECT_EQ(model->pagesFetched(), 1); // the rows on screen come from the first page
    EXPECT_EQ(screen->gridView->toolTip(), QStringLiteral("10000"));

    // Ctrl+End: the last row, read without the pages in between.
    QTest::keyClick(screen->gridView, Qt::Key_End, Qt::ControlModifier);
    QTest::qWait(20);
    EXPECT_EQ(screen->columnText(QStringLiteral("ERR1")), QStringLiteral("AB-10000"));
    EXPECT_LE(model->pagesFetched(), 3);
    const QModelIndex bottom =
        screen->gridView->indexAt(QPoint(screen->gridView->columnViewportPosition(2) + 5,
                                         screen->gridView->viewport()->height() - 5));
    EXPECT_GE(bottom.row(), 9950);

    // Scrolling through the whole list shows every row.
    QScrollBar *bar = screen->gridView->verticalScrollBar();
    for (int v = 0; v <= bar->maximum(); v += bar->pageStep()) {
        bar->setValue(v);
        screen->gridView->viewport()->repaint();
    }
    for (int row = 0; row < 10000; row += 997)
        EXPECT_EQ(model->text(row, 2), QStringLiteral("AB-%1").arg(row + 1));
    EXPECT_GE(model->pagesFetched(), 10000 / model->pageSize());
}

TEST_P(GridScreenTest, FailingQueryIsReportedAndTheScreenStaysOpenEmpty)
{
    auto screen = std::make_unique<TestScreen>();
    screen->sql = QStringLiteral("Select * From NO_SUCH_TABLE");
    screen->initialise();
    screen->show();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_TRUE(dialogs.last().text.contains(QStringLiteral("no_such_table"), Qt::CaseInsensitive))
        << dialogs.last().text.toStdString();
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(screen->model()->rowCount(), 0);
    EXPECT_EQ(screen->model()->columnCount(), 4);
    EXPECT_EQ(screen->gridView->toolTip(), QStringLiteral("0"));

    // F8 on it reports the same failure instead of writing a sheet.
    dialogs.clear();
    QTest::keyClick(screen->gridView, Qt::Key_F8);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_P(GridScreenTest, EnterDoubleClickAndBeginEditReachTheScreen)
{
    auto screen = openScreen(true, 3, &db());
    GridView *grid = screen->gridView;
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::keyClick(grid, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(grid, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(screen->enters, 2);

    const QRect cell = grid->visualRect(screen->model()->index(1, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(screen->doubleClicks, 1);
    EXPECT_EQ(screen->edits, QList<int>{2}); // the double-click also begins an edit
    grid->closePersistentEditor(grid->currentIndex());
    QTest::keyClick(grid, Qt::Key_Escape);

    screen->edits.clear();
    screen->refuseEdits = true;
    grid->setCurrentIndex(screen->model()->index(0, 3));
    QTest::keyClick(grid, Qt::Key_A);
    EXPECT_EQ(screen->edits, QList<int>{3});
    EXPECT_FALSE(grid->isEditing());

    screen->refuseEdits = false;
    QTest::keyClick(grid, Qt::Key_A);
    EXPECT_TRUE(grid->isEditing());
    // Locked columns are never edited.
    EXPECT_FALSE(screen->model()->flags(screen->model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(screen->model()->flags(screen->model()->index(0, 3)) & Qt::ItemIsEditable);
}

TEST_P(GridScreenTest, EditedCellsAreWrittenThroughTheModelOrKeepTheirValue)
{
    auto screen = openScreen(true, 3, &db());
    GridView *grid = screen->gridView;
    PagedQueryModel *model = screen->model();
    auto type = [&](int row, int column, const QString &text) {
        grid->setCurrentIndex(model->index(row, column));
        grid->edit(model->index(row, column));
        auto *editor = qobject_cast<QLineEdit *>(grid->focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->setText(text); // Japanese input does not go through the key simulation
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents(); // the editor commits once its key press is through
    };
    type(1, 3, QStringLiteral("直しました"));
    EXPECT_EQ(model->text(1, 3), QStringLiteral("直しました"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT ERR2 FROM TBL_ERR WHERE IMP_LN = 2")).toString(),
              QStringLiteral("直しました"));

    type(2, 3, QStringLiteral("NG"));
    EXPECT_EQ(model->text(2, 3), QStringLiteral("品質キーが未登録です。"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("書き込めません。"));
    EXPECT_EQ(dialogs.last().icon, Icon::Error);

    type(0, 2, QStringLiteral("XX-1")); // the model writes only 内容1: refused silently
    EXPECT_EQ(model->text(0, 2), QStringLiteral("AB-1"));
    EXPECT_EQ(dialogs.shown.size(), 1);
}

TEST_P(GridScreenTest, RefillKeepsThePlaceOfTheCurrentRow)
{
    auto screen = openScreen(false, 600, &db());
    screen->gridView->setCurrentIndex(screen->model()->index(450, 2));
    db().exec(QStringLiteral("UPDATE TBL_ERR SET ERR1 = 'changed' WHERE IMP_LN = 451"));
    ASSERT_TRUE(screen->refillKeepingPosition());
    EXPECT_EQ(screen->gridView->currentIndex(), screen->model()->index(450, 2));
    EXPECT_EQ(screen->columnText(QStringLiteral("ERR1")), QStringLiteral("changed"));

    db().exec(QStringLiteral("DELETE FROM TBL_ERR WHERE IMP_LN > 100"));
    ASSERT_TRUE(screen->refillKeepingPosition());
    EXPECT_EQ(screen->gridView->currentIndex().row(), 99); // the list got shorter
}
