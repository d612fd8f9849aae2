#include "../OrderLinesFixture.h"
#include "ConditionText.h"
#include "GridView.h"
#include "ScreenTest.h"

#include "BulkUpdateDialog.h"
#include "FunctionKeyLabel.h"
#include "ModalWindows.h"
#include "OrderEditModel.h"
#include "OrderEditScreen.h"
#include "OrderFindCondition.h"
#include "OrderFindDialog.h"
#include "ScreenRegistry.h"
#include "globals.h"
#include <QHeaderView>

#include <QAbstractItemView>
#include <QApplication>
#include <QBrush>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace OrderLinesFixture;

namespace {
const QString kConflict =
    QStringLiteral("他の端末でこの行が変更されています。最新の内容を表示します。");

} // namespace

class OrderEditScreenTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        const QList<std::tuple<int, QString, QString>> lines = {
            {1, "AB", "0"}, {2, "AB", "1"}, {3, "CD", "0"}, {4, "CD", "2"}, {5, "AB", ""}};
        for (const auto &[ln, fcRg, flg1] : lines) {
            Line l;
            l.ln = ln;
            l.fcRg = fcRg;
            l.flg1 = flg1.isEmpty() ? QStringLiteral("") : flg1;
            l.hinban = QStringLiteral("H%1").arg(ln);
            add(db(), l);
        }
        Line converted;
        converted.ln = 6;
        converted.flg3 = QStringLiteral("1");
        add(db(), converted);
        db().exec("INSERT INTO MST_PRINTER(PRINTER, DATA_FLG) VALUES('TTP-244', '1')");
        db().exec("INSERT INTO MST_PRINTER(PRINTER, DATA_FLG) VALUES('LP-1', '0')");
        session.setImportDate(QStringLiteral("20261208"));
        session.setOrderCondition(OrderFindCondition::start(session.importDate()));
    }
    // As the main menu opens it: the find dialog loaded hidden, then the screen.
    OrderEditScreen *open()
    {
        ScreenRegistry &registry = ScreenRegistry::instance();
        registry.load<OrderFindDialog>();
        auto *screen = static_cast<OrderEditScreen *>(registry.show<OrderEditScreen>());
        screen->activateWindow();
        screen->gridView->setFocus();
        QApplication::processEvents();
        return screen;
    }
    int rowOf(OrderEditScreen *screen, int ln)
    {
        for (int r = 0; r < screen->model()->rowCount(); ++r)
            if (screen->model()->fieldValue(r, QStringLiteral("IMP_LN")).toInt() == ln)
                return r;
        return -1;
    }
    QStringList shownLines(OrderEditScreen *screen)
    {
        QStringList lines;
        for (int r = 0; r < screen->model()->rowCount(); ++r)
            lines << screen->model()->fieldValue(r, QStringLiteral("IMP_LN")).toString();
        lines.sort();
        return lines;
    }
    // Types text into a cell through the grid's editor and commits it with Enter.
    void type(OrderEditScreen *screen, int row, int column, const QString &text)
    {
        GridView *grid = screen->gridView;
        const QModelIndex index = screen->model()->index(row, column);
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }
    // Moves to another line: the edited one is written.
    void leaveLine(OrderEditScreen *screen, int toRow)
    {
        screen->gridView->setCurrentIndex(screen->model()->index(toRow, 2));
        QApplication::processEvents();
    }
};
INSTANTIATE_SCREEN_TEST(OrderEditScreenTest);

TEST_P(OrderEditScreenTest, ShowsTheDaysOpenLinesInItsColumnsAndKeys)
{
    OrderEditScreen *screen = open();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("データ修正"));
    // The 34 columns get the screen, not the designed 900 x 666 pixels.
    const QRect area = screen->screen()->availableGeometry();
    EXPECT_TRUE(area.contains(screen->geometry()));
    EXPECT_GE(screen->width(), area.width() * 9 / 10);
    EXPECT_EQ(shownLines(screen), QStringList({"1", "2", "3", "4", "5"})); // not the converted
    EXPECT_EQ(screen->gridView->toolTip(), QStringLiteral("5"));
    EXPECT_EQ(screen->statusLine->text(), QStringLiteral("表示件数: 5件"));
    EXPECT_EQ(conditionText(screen->statement, screen->statementParams),
              QStringLiteral("Select * From TBL_ORDER Where IMP_DATE = '20261208' "
                             "And FLG3 = '0' And FLG4 = '0'   Order By IMP_DATE, "
                             "IMP_LN "));

    PagedQueryModel *model = screen->model();
    ASSERT_EQ(model->columnCount(), 34);
    const QList<std::tuple<int, QString, int>> spots = {
        {2, "印字機種", 133},  {3, "熱転写", 33},  {5, "数量", 53},
        {10, "管理No", 66},    {17, "略名", 66},   {20, "END", 33},
        {30, "品質キー", 100}, {32, "エラー", 33}, {33, "特定変換", 80}};
    for (const auto &[c, caption, width] : spots) {
        EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), caption) << c;
        // The designed width, widened only where the heading would be cut.
        const int heading =
            screen->gridView->horizontalHeader()->fontMetrics().horizontalAdvance(caption) + 10;
        EXPECT_EQ(screen->gridView->columnWidth(c), qMax(width, heading)) << c;
    }
    EXPECT_TRUE(screen->gridView->isColumnHidden(0));
    EXPECT_TRUE(screen->gridView->isColumnHidden(1));
    QList<int> locked;
    for (int c = 0; c < 34; ++c)
        if (!(model->flags(model->index(0, c)) & Qt::ItemIsEditable))
            locked << c;
    EXPECT_EQ(locked, QList<int>({0, 1, 3, 10, 31, 32}));

    const QStringList captions = {"終了", "更新",  "",     "検索", "", "削除",
                                  "",     "EXCEL", "履歴", "",     "", ""};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(screen->functionKeyLabel(i)->text(), captions[i]) << i;
}

TEST_P(OrderEditScreenTest, ShowsTheDayInFileOrderAfterLinesWereChanged)
{
    // A conversion and its cancel (FLG3 there and back), then an edit: PostgreSQL writes each
    // changed line anew at the end of the table, and its indexes point there too, so neither
    // the table's order nor an index's is the file's any more.
    db().exec(QStringLiteral("UPDATE TBL_ORDER SET FLG3 = '1' WHERE IMP_LN IN (1, 3)"));
    db().exec(QStringLiteral("UPDATE TBL_ORDER SET FLG3 = '0' WHERE IMP_LN IN (1, 3)"));
    db().exec(QStringLiteral("UPDATE TBL_ORDER SET SU = 7 WHERE IMP_LN = 2"));
    OrderEditScreen *screen = open();
    QStringList lines;
    for (int r = 0; r < screen->model()->rowCount(); ++r)
        lines << screen->model()->fieldValue(r, QStringLiteral("IMP_LN")).toString();
    EXPECT_EQ(lines, QStringList({"1", "2", "3", "4", "5"}));
}

TEST_P(OrderEditScreenTest, LinesWithAnErrorAreLightYellow)
{
    OrderEditScreen *screen = open();
    const auto colourOf = [&](int ln) {
        return screen->model()->data(screen->model()->index(rowOf(screen, ln), 4),
                                     Qt::BackgroundRole);
    };
    EXPECT_EQ(colourOf(2).value<QBrush>().color(), QColor(255, 255, 128));
    EXPECT_FALSE(colourOf(1).isValid()); // "0": the grid's own colour
    EXPECT_FALSE(colourOf(4).isValid()); // "2"
    EXPECT_FALSE(colourOf(5).isValid()); // ""
}

// A click on a heading sorts by the column (equal values keep the file's order); 管理No and
// 印字機種 stay in view while the grid scrolls right; the エラー cell names the findings.
TEST_P(OrderEditScreenTest, HeadingsSortKeyColumnsStayAndTheErrorCellNamesTheFindings)
{
    OrderEditScreen *screen = open();
    const auto linesInOrder = [screen] {
        QStringList lines;
        for (int r = 0; r < screen->model()->rowCount(); ++r)
            lines << screen->model()->fieldValue(r, QStringLiteral("IMP_LN")).toString();
        return lines;
    };
    QHeaderView *headings = screen->gridView->horizontalHeader();
    // A mouse click on the heading, brought into view first as the operator would.
    const auto clickOn = [screen](QHeaderView *header, int column) {
        screen->gridView->scrollTo(screen->model()->index(0, column));
        QApplication::processEvents();
        const QPoint middle(header->sectionViewportPosition(column) +
                                header->sectionSize(column) / 2,
                            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
    };
    const auto clickHeading = [&](int column) { clickOn(headings, column); };
    clickHeading(14); // 工場略号
    EXPECT_EQ(linesInOrder(), QStringList({"1", "2", "5", "3", "4"}));
    clickHeading(14);
    EXPECT_EQ(linesInOrder(), QStringList({"3", "4", "1", "2", "5"}));
    EXPECT_TRUE(
        screen->statement.endsWith(QStringLiteral("Order By FC_RG Desc, IMP_DATE, IMP_LN ")));
    clickHeading(18); // 品番, a new column starts ascending
    EXPECT_EQ(linesInOrder(), QStringList({"1", "2", "3", "4", "5"}));

    QTableView *frozen = screen->gridView->frozenView();
    ASSERT_NE(frozen, nullptr);
    QList<int> shown;
    for (int c = 0; c < screen->model()->columnCount(); ++c)
        if (!frozen->isColumnHidden(c))
            shown << c;
    EXPECT_EQ(shown, QList<int>({2, 10}));
    EXPECT_EQ(headings->visualIndex(2), 0); // 印字機種 then 管理No lead the grid
    EXPECT_EQ(headings->visualIndex(10), 1);
    screen->gridView->horizontalScrollBar()->setValue(
        screen->gridView->horizontalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_GT(screen->gridView->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(frozen->x(),
              screen->gridView->verticalHeader()->width() + screen->gridView->frameWidth());
    EXPECT_EQ(frozen->width(),
              screen->gridView->columnWidth(2) + screen->gridView->columnWidth(10));
    // A click on a frozen heading sorts like the grid's own.
    clickOn(frozen->horizontalHeader(), 10);
    EXPECT_TRUE(screen->statement.contains(QStringLiteral("Order By rtrim(KNR_NO")));

    db().exec(QStringLiteral("INSERT INTO TBL_ERR(IMP_DATE, IMP_LN, ERR_LN, ERR1, ERR2, ERR3) "
                             "VALUES('20261208', 2, 1, 'AB-001', '品質マスタ未登録です。', 'Q1')"));
    const auto tip = [screen, this](int ln) {
        return screen->model()->data(screen->model()->index(rowOf(screen, ln), 32),
                                     Qt::ToolTipRole);
    };
    EXPECT_EQ(tip(2).toString(), QStringLiteral("品質マスタ未登録です。（Q1）"));
    EXPECT_FALSE(tip(1).isValid()); // no finding
}

TEST_P(OrderEditScreenTest, ClosingAsksOnlyWhileAnEditIsPending)
{
    OrderEditScreen *screen = open();
    QPointer<QWidget> find = ScreenRegistry::instance().find<OrderFindDialog>();
    ASSERT_TRUE(find);
    QTest::keyClick(screen->gridView, Qt::Key_F1);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    processDeletes();
    EXPECT_FALSE(ScreenRegistry::instance().isOpen<OrderEditScreen>());
    EXPECT_FALSE(find); // unloaded with the screen

    screen = open();
    screen->gridView->setCurrentIndex(screen->model()->index(0, 2));
    QTest::keyClick(screen->gridView, Qt::Key_X); // begins an edit of 印字機種
    ASSERT_TRUE(screen->gridView->isEditing());
    EXPECT_TRUE(screen->isEditPending());
    dialogs.answers = {false};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("行が編集中です。\r\n画面を閉じると編集結果は"
                                                  "反映されません。\r\n閉じますか？"));
    EXPECT_EQ(dialogs.last().icon, Icon::Question);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_TRUE(screen->gridView->isEditing()); // the edit is still in place

    // Typed but not yet written (the line not left): still asks.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents(); // the editor closes after the key
    EXPECT_FALSE(screen->gridView->isEditing());
    dialogs.clear();
    dialogs.answers = {false};
    QTest::keyClick(screen->gridView, Qt::Key_F1);
    EXPECT_EQ(dialogs.count(Shown::Question), 1);
    EXPECT_TRUE(screen->isVisible());

    // Once the edit is written nothing is lost: the screen closes without a question.
    leaveLine(screen, 1);
    EXPECT_EQ(count("TBL_ORDER", "PRINTER = 'x'"), 1);
    dialogs.clear();
    QTest::keyClick(screen->gridView, Qt::Key_F1);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    processDeletes();
    EXPECT_FALSE(ScreenRegistry::instance().isOpen<OrderEditScreen>());
}

TEST_P(OrderEditScreenTest, DeleteAsksThenDeletesTheCurrentLine)
{
    OrderEditScreen *screen = open();
    const int row = rowOf(screen, 3);
    screen->gridView->setCurrentIndex(screen->model()->index(row, 2));
    dialogs.answers = {false};
    QTest::keyClick(screen->gridView, Qt::Key_F6);
    EXPECT_EQ(dialogs.texts(), QStringList({"削除しますか？", "キャンセルしました。"}));
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Question);
    EXPECT_EQ(dialogs.shown[1].icon, Icon::None);
    EXPECT_EQ(count("TBL_ORDER"), 6);

    dialogs.clear();
    QTest::keyClick(screen->gridView, Qt::Key_F6);
    EXPECT_EQ(dialogs.texts(), QStringList({"削除しますか？", "削除しました。"}));
    EXPECT_EQ(count("TBL_ORDER", "IMP_LN = 3"), 0);
    EXPECT_EQ(shownLines(screen), QStringList({"1", "2", "4", "5"}));
    EXPECT_EQ(screen->gridView->toolTip(), QStringLiteral("4"));

    // A line another workstation changed meanwhile is not deleted.
    screen->gridView->setCurrentIndex(screen->model()->index(rowOf(screen, 4), 2));
    openSecond()->exec("UPDATE TBL_ORDER SET HINBAN = 'NEW' WHERE IMP_LN = 4");
    dialogs.clear();
    QTest::keyClick(screen->gridView, Qt::Key_F6);
    EXPECT_EQ(dialogs.texts(), QStringList({"削除しますか？", kConflict}));
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(count("TBL_ORDER", "IMP_LN = 4"), 1);
    EXPECT_EQ(screen->columnText(QStringLiteral("HINBAN")), QStringLiteral("NEW"));

    // Without a current line: the question, then nothing.
    session.setOrderCondition(OrderFindCondition::start(QStringLiteral("20990101")));
    screen->fillGrid();
    dialogs.clear();
    QTest::keyClick(screen->gridView, Qt::Key_F6);
    EXPECT_EQ(dialogs.texts(), QStringList{"削除しますか？"});
}

TEST_P(OrderEditScreenTest, FindNarrowsTheGridAndStartsEmptyEachTime)
{
    OrderEditScreen *screen = open();
    const QString before = conditionText(session.orderCondition());
    whenModal<OrderFindDialog>([this, before](OrderFindDialog *find) {
        EXPECT_EQ(find->windowTitle(), QStringLiteral("検索"));
        EXPECT_EQ(find->importDateEdit->text(), QStringLiteral("20261208"));
        ASSERT_EQ(find->factorySymbolCombo->count(), 2);
        EXPECT_EQ(find->factorySymbolCombo->itemText(1), QStringLiteral("CD"));
        EXPECT_EQ(find->productNumberCombo->count(), 6); // the converted line's value too
        EXPECT_EQ(find->specialCombo->count(), 2);
        EXPECT_TRUE(find->factorySymbolCombo->currentText().isEmpty());

        find->factorySymbolCombo->setEditText(QStringLiteral("CD"));
        find->specialCombo->setEditText(QStringLiteral("2"));
        QTest::mouseClick(find->okButton, Qt::LeftButton);
        EXPECT_EQ(dialogs.texts(), QStringList{"特定変換では'0'か'1'を指定してください。"});
        EXPECT_EQ(dialogs.last().icon, Icon::Error);
        EXPECT_TRUE(find->isVisible());
        EXPECT_EQ(conditionText(session.orderCondition()), before);

        find->specialCombo->setEditText(QString());
        QTest::mouseClick(find->okButton, Qt::LeftButton);
    });
    QTest::keyClick(screen->gridView, Qt::Key_F4);
    EXPECT_EQ(conditionText(session.orderCondition()),
              before + QStringLiteral("And FC_RG = 'CD' "));
    EXPECT_EQ(shownLines(screen), QStringList({"3", "4"}));
    EXPECT_EQ(screen->gridView->toolTip(), QStringLiteral("2"));
    EXPECT_EQ(screen->statusLine->text(), QStringLiteral("検索条件で絞り込み中: 2件"));

    // The dialog was unloaded: the next F4 starts empty; Cancel changes nothing.
    processDeletes();
    whenModal<OrderFindDialog>([](OrderFindDialog *find) {
        EXPECT_TRUE(find->factorySymbolCombo->currentText().isEmpty());
        find->factorySymbolCombo->setEditText(QStringLiteral("AB"));
        QTest::mouseClick(find->cancelButton, Qt::LeftButton);
    });
    QTest::keyClick(screen->gridView, Qt::Key_F4);
    EXPECT_EQ(conditionText(session.orderCondition()),
              before + QStringLiteral("And FC_RG = 'CD' "));
    EXPECT_EQ(shownLines(screen), QStringList({"3", "4"}));

    // The rest of the day: lines without a printer yet, here those with findings.
    db().exec(QStringLiteral("UPDATE TBL_ORDER SET PRINTER = 'LP-1' WHERE IMP_LN = 2"));
    processDeletes();
    whenModal<OrderFindDialog>([](OrderFindDialog *find) {
        ASSERT_EQ(find->printerCombo->count(), 2);
        EXPECT_EQ(find->printerCombo->itemText(0), OrderFindCondition::unassignedPrinter());
        find->printerCombo->setCurrentIndex(0);
        find->findingsCombo->setCurrentIndex(find->findingsCombo->findText(QStringLiteral("有り")));
        QTest::mouseClick(find->okButton, Qt::LeftButton);
    });
    QTest::keyClick(screen->gridView, Qt::Key_F4);
    EXPECT_EQ(shownLines(screen), QStringList({"4", "5"}));
}

TEST_P(OrderEditScreenTest, BulkUpdateSetsTheLinesOfTheCurrentConditionOnly)
{
    OrderEditScreen *screen = open();
    // as a find on 工場略号 leaves it
    session.setOrderCondition(OrderCondition(session.orderCondition())
                                  .add(QStringLiteral("FC_RG = "), QStringLiteral("CD")));
    screen->fillGrid();
    whenModal<BulkUpdateDialog>([](BulkUpdateDialog *update) {
        EXPECT_EQ(update->windowTitle(), QStringLiteral("更新"));
        ASSERT_EQ(update->printerCombo->count(), 2);
        EXPECT_EQ(update->printerCombo->model()->columnCount(), 2);
        EXPECT_TRUE(update->printerCombo->currentText().isEmpty());
        update->setDateCombo->setEditText(QStringLiteral("2004/5/3"));
        update->printerCombo->setFocus();
        QTest::keyClick(update->printerCombo, Qt::Key_Down); // TTP-244
        QTest::keyClick(update->printerCombo, Qt::Key_Down); // LP-1
        update->specialCombo->setFocus();
        EXPECT_EQ(update->printerCombo->currentText(), QStringLiteral("LP-1"));
        EXPECT_EQ(update->dataKindEdit->text(), QStringLiteral("0"));
        update->specialCombo->setEditText(QStringLiteral("1"));
        QTest::mouseClick(update->okButton, Qt::LeftButton);
    });
    dialogs.answers = {true};
    QTest::keyClick(screen->gridView, Qt::Key_F2);
    // How many lines change, asked before, told after.
    EXPECT_EQ(dialogs.texts(),
              QStringList({"2件更新します。\r\n宜しいでしょうか？", "2件更新しました。"}));
    EXPECT_EQ(count("TBL_ORDER", "SET_DATE = '2004/05/03' AND PRINTER = 'LP-1' AND DATA_FLG = "
                                 "'0' AND FLG5 = '1'"),
              2);
    // The other factory's lines (the converted one among them) keep their values.
    EXPECT_EQ(count("TBL_ORDER", "FC_RG = 'AB' AND SET_DATE = '2026/12/10' AND PRINTER = '' AND "
                                 "FLG5 = '0'"),
              4);
    EXPECT_EQ(screen->columnText(QStringLiteral("PRINTER")), QStringLiteral("LP-1")); // refreshed
}

TEST_P(OrderEditScreenTest, BulkUpdateChecksAndErrorsKeepTheDialogOpen)
{
    OrderEditScreen *screen = open();
    whenModal<BulkUpdateDialog>([this](BulkUpdateDialog *update) {
        const auto ok = [&](const QString &expected) {
            dialogs.clear();
            QTest::mouseClick(update->okButton, Qt::LeftButton);
            EXPECT_EQ(dialogs.texts(), QStringList{expected});
            EXPECT_EQ(dialogs.last().icon, Icon::Error);
            EXPECT_TRUE(update->isVisible());
        };
        update->setDateCombo->setEditText(QStringLiteral("2004/13/1"));
        ok(QStringLiteral("日付型でないです。"));
        update->setDateCombo->setEditText(QString());
        update->printerCombo->setEditText(QStringLiteral("XX-9")); // not from the list
        ok(QStringLiteral("一覧から選択してください。"));
        update->printerCombo->setEditText(QString());
        update->specialCombo->setEditText(QStringLiteral("2"));
        ok(QStringLiteral("特定変換は0か1を指定してください。"));
        update->specialCombo->setEditText(QStringLiteral("1"));

        // A database error: reported with the stop icon, nothing written, still open.
        const OrderCondition where = session.orderCondition();
        session.setOrderCondition(OrderCondition(QStringLiteral("Where NO_SUCH_COLUMN = 1 ")));
        dialogs.clear();
        QTest::mouseClick(update->okButton, Qt::LeftButton);
        EXPECT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.last().icon, Icon::Error);
        EXPECT_TRUE(update->isVisible());
        session.setOrderCondition(where);

        // A model typed over the chosen one keeps the chosen model's flag.
        update->specialCombo->setEditText(QString());
        update->printerCombo->setFocus();
        QTest::keyClick(update->printerCombo, Qt::Key_Down); // TTP-244, flag 1
        update->printerCombo->setEditText(QStringLiteral("TTP-9"));
        update->setDateCombo->setFocus();
        EXPECT_EQ(update->dataKindEdit->text(), QStringLiteral("1"));
        // No to the count question: nothing written, the dialog stays with the input.
        dialogs.clear();
        dialogs.answers = {false};
        QTest::mouseClick(update->okButton, Qt::LeftButton);
        EXPECT_EQ(dialogs.texts(), QStringList{"5件更新します。\r\n宜しいでしょうか？"});
        EXPECT_TRUE(update->isVisible());
        EXPECT_EQ(count("TBL_ORDER", "PRINTER = 'TTP-9'"), 0);
        dialogs.clear();
        dialogs.answers = {true};
        QTest::mouseClick(update->okButton, Qt::LeftButton);
        EXPECT_EQ(dialogs.texts(),
                  QStringList({"5件更新します。\r\n宜しいでしょうか？", "5件更新しました。"}));
    });
    QTest::keyClick(screen->gridView, Qt::Key_F2);
    EXPECT_EQ(count("TBL_ORDER", "PRINTER = 'TTP-9' AND DATA_FLG = '1'"), 5);
    EXPECT_EQ(count("TBL_ORDER", "FLG5 = '1'"), 0);

    // The next F2 starts empty; OK with nothing given writes nothing and closes.
    processDeletes();
    whenModal<BulkUpdateDialog>([](BulkUpdateDialog *update) {
        EXPECT_TRUE(update->printerCombo->currentText().isEmpty());
        EXPECT_TRUE(update->dataKindEdit->text().isEmpty());
        EXPECT_EQ(update->printerCombo->count(), 2);
        QTest::mouseClick(update->okButton, Qt::LeftButton);
    });
    QTest::keyClick(screen->gridView, Qt::Key_F2);
    EXPECT_EQ(count("TBL_ORDER", "PRINTER = 'TTP-9'"), 5);
}

TEST_P(OrderEditScreenTest, EditsAreStoredAsTypedWhenTheLineIsLeft)
{
    OrderEditScreen *screen = open();
    const int row = rowOf(screen, 1);
    type(screen, row, 18, QStringLiteral("O'Brien"));            // 品番
    type(screen, row, 5, QStringLiteral("25"));                  // 数量
    EXPECT_EQ(valueOf(db(), 1, "HINBAN"), QStringLiteral("H1")); // still on the line
    leaveLine(screen, rowOf(screen, 2));
    EXPECT_EQ(valueOf(db(), 1, "HINBAN"), QStringLiteral("O'Brien"));
    EXPECT_EQ(valueOf(db(), 1, "SU"), QStringLiteral("25"));

    // Text in a number column is refused; the cell keeps its value.
    type(screen, rowOf(screen, 2), 5, QStringLiteral("abc"));
    EXPECT_EQ(dialogs.texts(), QStringList{"「数量」には整数を入力してください。"});
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(screen->columnText(QStringLiteral("SU")), QStringLiteral("10"));
    leaveLine(screen, rowOf(screen, 1));
    EXPECT_EQ(valueOf(db(), 2, "SU"), QStringLiteral("10"));
}

TEST_P(OrderEditScreenTest, AnEditOfALineChangedElsewhereIsRefusedAndReported)
{
    OrderEditScreen *screen = open();
    const int row = rowOf(screen, 3);
    type(screen, row, 18, QStringLiteral("MINE"));
    openSecond()->exec("UPDATE TBL_ORDER SET PRINTER = 'THEIRS' WHERE IMP_LN = 3");
    leaveLine(screen, rowOf(screen, 1));
    EXPECT_EQ(dialogs.texts(), QStringList{kConflict});
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(valueOf(db(), 3, "HINBAN"), QStringLiteral("H3"));
    EXPECT_EQ(valueOf(db(), 3, "PRINTER"), QStringLiteral("THEIRS"));
    EXPECT_EQ(screen->model()->text(row, 18), QStringLiteral("H3")); // the line as it is now
    EXPECT_EQ(screen->model()->text(row, 2), QStringLiteral("THEIRS"));

    // An edit still in its cell is written before a key acts on the grid (here the export).
    type(screen, rowOf(screen, 1), 18, QStringLiteral("BEFORE-EXPORT"));
    QTest::keyClick(screen->gridView, Qt::Key_F8);
    EXPECT_EQ(valueOf(db(), 1, "HINBAN"), QStringLiteral("BEFORE-EXPORT"));
    EXPECT_EQ(opened.size(), 1);
}
