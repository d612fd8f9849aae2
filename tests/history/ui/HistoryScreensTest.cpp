#include "../HistoryFixture.h"

#include "AllScreens.h"
#include "Clock.h"
#include "FunctionKeyLabel.h"
#include "GridView.h"
#include "LineHistoryScreen.h"
#include "ModalWindows.h"
#include "OrderEditScreen.h"
#include "OrderFindCondition.h"
#include "OrderFindDialog.h"
#include "PagedQueryModel.h"
#include "ReportEngine.h"
#include "ReportLists.h"
#include "RunHistoryScreen.h"
#include "ScreenRegistry.h"
#include "ScreenTest.h"
#include "globals.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace ConversionFixture;

class HistoryScreensTest : public ScreensOn<HistoryTest> {
protected:
    // Two runs of the day: the first cancelled, the second (other lines) converted.
    void twoRuns()
    {
        addLines(2);
        ASSERT_TRUE(convert().converted());
        Clock::advance(60);
        ASSERT_EQ(cancel(), Outcome::Done);
        addLines(1, 10, QStringLiteral("CD"));
        Clock::advance(60);
        ASSERT_TRUE(convert(Machine::Thermal).converted());
        dialogs.clear();
    }

    RunHistoryScreen *openHistory()
    {
        auto *screen =
            static_cast<RunHistoryScreen *>(ScreenRegistry::instance().show<RunHistoryScreen>());
        screen->gridView->setFocus();
        QApplication::processEvents();
        return screen;
    }

    QList<QStringList> printList(const QString &kind)
    {
        ReportEngine engine;
        engine.setRecording(true);
        const PrintRequest request{db(), dialogs, progress, QStringLiteral("PDFファイル")};
        EXPECT_EQ(ReportLists::print(kind, engine, request), Outcome::Done);
        return printedPages(engine.pages());
    }
};
INSTANTIATE_SCREEN_TEST(HistoryScreensTest);

TEST_P(HistoryScreensTest, TheRunHistoryListsTheRunsNewestFirstWithTheirState)
{
    twoRuns();
    RunHistoryScreen *screen = openHistory();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("実行履歴"));
    const QStringList keys = {"終了", "",      "", "再印刷", "フォルダ", "",
                              "",     "EXCEL", "", "",       "",         ""};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(screen->functionKeyLabel(i)->text(), keys[i]) << i;

    PagedQueryModel *model = screen->model();
    ASSERT_EQ(model->rowCount(), 2);
    const auto cell = [&](int row, const char *field) {
        return screen->gridView->cellText(row, QString::fromUtf8(field));
    };
    EXPECT_EQ(cell(0, "変換日時"), QStringLiteral("2026/12/08 10:02:00"));
    EXPECT_EQ(cell(0, "状態"), QStringLiteral("変換済"));
    EXPECT_EQ(cell(0, "生産機種"), QStringLiteral("熱転写"));
    EXPECT_EQ(cell(0, "発注レコード件数"), QStringLiteral("3")); // the cancelled lines again
    EXPECT_EQ(cell(1, "変換日時"), QStringLiteral("2026/12/08 10:00:00"));
    EXPECT_EQ(cell(1, "状態"), QStringLiteral("取消"));
    EXPECT_EQ(cell(1, "状態変更日時"), QStringLiteral("2026/12/08 10:01:00"));
    EXPECT_EQ(cell(1, "担当者"), QStringLiteral("tester"));
    EXPECT_EQ(cell(1, "端末"), QStringLiteral("TESTPC"));
    EXPECT_EQ(screen->gridView->toolTip(), QStringLiteral("2"));

    QTest::keyClick(screen->gridView, Qt::Key_F8);
    EXPECT_EQ(opened.size(), 1); // the sheet, handed to the desktop
    QTest::keyClick(screen->gridView, Qt::Key_F1);
    processDeletes();
    EXPECT_FALSE(ScreenRegistry::instance().isOpen<RunHistoryScreen>());
}

TEST_P(HistoryScreensTest, F4ReprintsTheChosenListOfTheCurrentRun)
{
    addLines(2);
    ASSERT_TRUE(convert().converted());
    const QList<QStringList> original = printList(QStringLiteral("CarList"));
    Clock::advance(60);
    addLines(1, 10, QStringLiteral("CD"));
    ASSERT_TRUE(convert().converted()); // WRK_RPT now holds the second run
    opened.clear();

    RunHistoryScreen *screen = openHistory();
    screen->reportEngine.setRecording(true);
    screen->gridView->setCurrentIndex(screen->model()->index(1, 1)); // the first run
    dialogs.clear();
    dialogs.inputs = {QStringLiteral("2")};
    QTest::keyClick(screen->gridView, Qt::Key_F4);
    ASSERT_EQ(dialogs.count(Shown::Input), 1);
    EXPECT_EQ(dialogs.shown[0].text, RunHistoryScreen::listPrompt());
    EXPECT_EQ(dialogs.messages(), QStringList()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(printedPages(screen->reportEngine.pages()), original);
    ASSERT_EQ(opened.size(), 1); // the PDF of the reprint
    EXPECT_TRUE(opened[0].endsWith(QStringLiteral(".pdf"))) << opened[0].toStdString();

    // Full-width digits and list names answer too; anything else is refused, a cancel does
    // nothing.
    dialogs.clear();
    dialogs.inputs = {QStringLiteral("合計表"), QStringLiteral("９"), std::nullopt};
    QTest::keyClick(screen->gridView, Qt::Key_F4);
    EXPECT_EQ(opened.size(), 2);
    QTest::keyClick(screen->gridView, Qt::Key_F4);
    EXPECT_EQ(dialogs.messages(), QStringList{"1から3の番号を入力してください。"});
    QTest::keyClick(screen->gridView, Qt::Key_F4);
    EXPECT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(opened.size(), 2);
}

TEST_P(HistoryScreensTest, F5OpensTheFoldersTheRunWroteTo)
{
    twoRuns();
    RunHistoryScreen *screen = openHistory();
    QTest::keyClick(screen->gridView, Qt::Key_F5); // the thermal run: no artwork folder
    QStringList expected = RunList::folders(db(), kDay, QStringLiteral("2026/12/08 10:02:00"));
    EXPECT_EQ(opened, expected);
    EXPECT_TRUE(opened.contains(QFileInfo(session.folderSettings().car).absoluteFilePath()));
    EXPECT_TRUE(opened.contains(QFileInfo(session.folderSettings().sht).absoluteFilePath()));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_P(HistoryScreensTest, WithoutTheHistoryTablesTheScreenSaysHowToAddThem)
{
    dropHistoryTables();
    RunHistoryScreen *screen = openHistory();
    EXPECT_EQ(dialogs.messages(),
              QStringList{"実行履歴テーブルがありません。ostera upgrade-db を実行してください。"});
    EXPECT_EQ(screen->model()->rowCount(), 0);
    dialogs.clear();
    QTest::keyClick(screen->gridView, Qt::Key_F4);
    EXPECT_EQ(dialogs.texts(), QStringList{"レコードがありません。"});
}

TEST_P(HistoryScreensTest, F9OnTheEditScreenShowsTheCurrentLinesHistory)
{
    addLines(3);
    session.setImportDate(kDay);
    session.setOrderCondition(OrderFindCondition::start(session.importDate()));
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.load<OrderFindDialog>();
    auto *edit = static_cast<OrderEditScreen *>(registry.show<OrderEditScreen>());
    edit->gridView->setFocus();
    QApplication::processEvents();
    int row = -1;
    for (int r = 0; r < edit->model()->rowCount(); ++r)
        if (edit->model()->fieldValue(r, QStringLiteral("IMP_LN")).toInt() == 2)
            row = r;
    ASSERT_GE(row, 0);
    EXPECT_EQ(edit->functionKeyLabel(8)->text(), QStringLiteral("履歴"));

    // No change yet: said, and no dialog.
    edit->gridView->setCurrentIndex(edit->model()->index(row, 5));
    QTest::keyClick(edit->gridView, Qt::Key_F9);
    EXPECT_EQ(dialogs.texts(), QStringList{"レコードがありません。"});
    processDeletes();
    EXPECT_FALSE(registry.isOpen<LineHistoryScreen>());

    // A number refused in 数量 logs nothing; a quantity typed is in the history at once (F9
    // writes the line first).
    gUserName = QStringLiteral("suzuki");
    const QModelIndex su = edit->model()->index(row, 5);
    dialogs.clear();
    EXPECT_FALSE(edit->model()->setData(su, QStringLiteral("abc")));
    EXPECT_TRUE(edit->model()->setData(su, QStringLiteral("25")));
    QStringList cells;
    QString label;
    whenModal<LineHistoryScreen>([&](LineHistoryScreen *dialog) {
        label = dialog->lineLabel->text();
        for (int c = 0; c < dialog->historyGrid->columnCount(); ++c)
            cells << dialog->historyGrid->horizontalHeaderItem(c)->text() + QLatin1Char('=') +
                         dialog->historyGrid->item(0, c)->text();
        cells << QString::number(dialog->historyGrid->rowCount());
        QTest::keyClick(dialog->historyGrid, Qt::Key_Escape);
    });
    QTest::keyClick(edit->gridView, Qt::Key_F9);
    EXPECT_EQ(label, QStringLiteral("処理日 20261208　行 2"));
    EXPECT_EQ(cells, (QStringList{"日時=2026/12/08 10:00:00", "担当者=suzuki", "項目=数量",
                                  "変更前=20", "変更後=25", "1"}));
    EXPECT_EQ(dialogs.messages().size(), 1); // the refusal of "abc" only
    processDeletes();
    EXPECT_FALSE(registry.isOpen<LineHistoryScreen>());
}
