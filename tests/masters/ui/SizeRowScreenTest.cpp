#include "MasterScreenTest.h"

#include "FunctionKeyLabel.h"
#include "SizeRowScreen.h"

#include <QHeaderView>
#include <QPointer>
#include <QProcess>

namespace {
const QString kStamp = QStringLiteral("2026/12/08 10:00:00");
using Screen = SizeRowScreen;

QString unzipMember(const QString &file, const QString &member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, member});
    unzip.waitForFinished(30000);
    return QString::fromUtf8(unzip.readAllStandardOutput());
}
} // namespace

class SizeRowScreenTest : public MasterScreenTest {
protected:
    void addPair(const QString &row, const QString &kbn)
    {
        db().exec(
            QStringLiteral("Insert Into MST_TARVOLIN_SIZE(ROW, SIZE_KBN, USER_NM, TIME_STAMP) "
                           "Values(:r, :k, '管理者', '2026/08/20 15:13:00')"),
            {{QStringLiteral("r"), row}, {QStringLiteral("k"), kbn}});
    }
    Screen *openSizes()
    {
        addPair(QStringLiteral("01"), QStringLiteral("M01"));
        addPair(QStringLiteral("01"), QStringLiteral("L01"));
        addPair(QStringLiteral("02"), QStringLiteral("F01"));
        return open<Screen>();
    }
    int pairs(const QString &row, const QString &kbn)
    {
        return count(QStringLiteral("MST_TARVOLIN_SIZE"),
                     QStringLiteral("ROW = ") + Db::quote(row) +
                         QStringLiteral(" And SIZE_KBN = ") + Db::quote(kbn));
    }
    // Types into a cell through the grid's editor and accepts it with Enter.
    static void typeInto(Screen *screen, int row, int column, const QString &text)
    {
        const QModelIndex cell = screen->model()->index(row, column);
        screen->gridView->setFocus();
        screen->gridView->setCurrentIndex(cell);
        screen->gridView->edit(cell);
        typeIntoEditor(screen, text);
    }
    static void typeIntoEditor(Screen *screen, const QString &text)
    {
        auto *editor = qobject_cast<QLineEdit *>(screen->gridView->focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->setText(text); // Japanese input does not go through the key simulation
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }
    static QString cell(Screen *screen, int row, int column)
    {
        return screen->model()->text(row, column);
    }
};
INSTANTIATE_SCREEN_TEST(SizeRowScreenTest);

TEST_P(SizeRowScreenTest, PairsShowInAKeyPaneAndAStampPaneAndExportWithTheirHeadings)
{
    Screen *screen = openSizes();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("tarvolin サイズ"));
    EXPECT_EQ(headers(screen), QStringList({QStringLiteral("担当者"), QStringLiteral("更新日"),
                                            QStringLiteral("ROW"), QStringLiteral("サイズ区分")}));
    QHeaderView *header = screen->gridView->horizontalHeader();
    EXPECT_EQ(header->visualIndex(Screen::ColRow), 0);
    EXPECT_EQ(header->visualIndex(Screen::ColSizeKbn), 1);
    EXPECT_EQ(screen->gridView->currentIndex().column(), int(Screen::ColRow));
    EXPECT_EQ(columnTexts(screen, Screen::ColSizeKbn),
              QStringList({QStringLiteral("L01"), QStringLiteral("M01"), QStringLiteral("F01")}));
    EXPECT_EQ(screen->gridView->toolTip(), QString());
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(screen->functionKeyLabel(i)->isEnabled(), i == 0 || i == 11) << i;
    EXPECT_EQ(screen->functionKeyLabel(11)->text(), QStringLiteral("EXCEL"));

    key(screen, Qt::Key_F12);
    ASSERT_EQ(opened.size(), 1);
    const QString sheet = unzipMember(opened[0], QStringLiteral("xl/worksheets/sheet1.xml"));
    const qsizetype rowCode = sheet.indexOf(QStringLiteral(">ROW<"));
    const qsizetype sizeKbn = sheet.indexOf(QStringLiteral(">サイズ区分<"));
    const qsizetype user = sheet.indexOf(QStringLiteral(">担当者<"));
    const qsizetype stamp = sheet.indexOf(QStringLiteral(">更新日<"));
    EXPECT_TRUE(rowCode > 0 && rowCode < sizeKbn && sizeKbn < user && user < stamp)
        << sheet.toStdString();
}

TEST_P(SizeRowScreenTest, ABlankKeyIsRefusedAndTheOldValueReturns)
{
    Screen *screen = openSizes();
    typeInto(screen, 0, Screen::ColRow, QStringLiteral("   "));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("主キーに空文字は使えません。"));
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Error);
    EXPECT_EQ(cell(screen, 0, Screen::ColRow), QStringLiteral("01"));
    EXPECT_EQ(cell(screen, 0, Screen::ColUser), QStringLiteral("管理者"));
    EXPECT_EQ(screen->editing(), 0);
    goToRow(screen, 2, Screen::ColRow);
    EXPECT_EQ(pairs(QStringLiteral("01"), QStringLiteral("L01")), 1);
    EXPECT_EQ(count(QStringLiteral("MST_TARVOLIN_SIZE")), 3);
}

TEST_P(SizeRowScreenTest, AChangeIsStampedAndWrittenWhenTheLineIsLeft)
{
    Screen *screen = openSizes();
    typeInto(screen, 0, Screen::ColSizeKbn, QStringLiteral("S01"));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(cell(screen, 0, Screen::ColUser), QStringLiteral("tester"));
    EXPECT_EQ(cell(screen, 0, Screen::ColStamp), kStamp);
    EXPECT_EQ(pairs(QStringLiteral("01"), QStringLiteral("S01")), 0); // still on the line

    goToRow(screen, 1, Screen::ColSizeKbn);
    EXPECT_EQ(pairs(QStringLiteral("01"), QStringLiteral("S01")), 1);
    EXPECT_EQ(pairs(QStringLiteral("01"), QStringLiteral("L01")), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("Select USER_NM || '|' || TIME_STAMP From "
                                         "MST_TARVOLIN_SIZE Where SIZE_KBN = 'S01'"))
                  .toString(),
              QStringLiteral("tester|") + kStamp);
    // The other lines keep their stamps.
    EXPECT_EQ(cell(screen, 1, Screen::ColUser), QStringLiteral("管理者"));
}

TEST_P(SizeRowScreenTest, ADuplicatePairIsReportedWithABeepAndTheLineStaysForCorrection)
{
    Screen *screen = openSizes();
    typeInto(screen, 0, Screen::ColSizeKbn, QStringLiteral("M01"));
    goToRow(screen, 2, Screen::ColRow);
    QApplication::processEvents();
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[0].kind, Shown::Beep);
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("既に登録されています。"));
    EXPECT_EQ(dialogs.shown[1].icon, Icon::Error);
    EXPECT_EQ(screen->gridView->currentIndex().row(), 0);
    EXPECT_EQ(cell(screen, 0, Screen::ColSizeKbn), QStringLiteral("M01"));
    EXPECT_EQ(pairs(QStringLiteral("01"), QStringLiteral("L01")), 1);

    // Closing is refused too while the line cannot be written.
    dialogs.clear();
    key(screen, Qt::Key_F1);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("既に登録されています。")});

    typeInto(screen, 0, Screen::ColSizeKbn, QStringLiteral("X01"));
    goToRow(screen, 2, Screen::ColRow);
    EXPECT_EQ(pairs(QStringLiteral("01"), QStringLiteral("X01")), 1);
    EXPECT_EQ(pairs(QStringLiteral("01"), QStringLiteral("L01")), 0);
    EXPECT_EQ(count(QStringLiteral("MST_TARVOLIN_SIZE")), 3);
}

TEST_P(SizeRowScreenTest, ClosingIsRefusedWhileACellIsBeingEdited)
{
    Screen *screen = openSizes();
    QPointer<Screen> guard(screen);
    const QModelIndex cell = screen->model()->index(1, Screen::ColRow);
    screen->gridView->setFocus();
    screen->gridView->setCurrentIndex(cell);
    screen->gridView->edit(cell);
    QWidget *editor = screen->gridView->focusWidget();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(screen->editing(), 1);
    QTest::keyClick(editor, Qt::Key_F1);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("行が編集中です。"));
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Error);
    EXPECT_TRUE(screen->isVisible());

    QTest::keyClick(editor, Qt::Key_Escape); // the edit is given up
    QApplication::processEvents();
    EXPECT_EQ(screen->editing(), 0);
    key(screen, Qt::Key_F1);
    EXPECT_TRUE(!guard || !guard->isVisible());
    EXPECT_EQ(dialogs.shown.size(), 1);
}

TEST_P(SizeRowScreenTest, InsertAddsALineThatIsWrittenOnceBothKeysAreThere)
{
    Screen *screen = openSizes();
    key(screen, Qt::Key_Insert);
    ASSERT_EQ(screen->model()->rowCount(), 4);
    EXPECT_EQ(screen->gridView->currentIndex().row(), 3);
    EXPECT_EQ(screen->editing(), 1); // typing starts on ROW at once
    typeIntoEditor(screen, QStringLiteral("03"));

    // Leaving with the size class still blank is refused; the line stays.
    goToRow(screen, 0, Screen::ColRow);
    QApplication::processEvents();
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("主キーに空文字は使えません。")});
    EXPECT_EQ(screen->gridView->currentIndex().row(), 3);
    EXPECT_EQ(count(QStringLiteral("MST_TARVOLIN_SIZE")), 3);

    typeInto(screen, 3, Screen::ColSizeKbn, QStringLiteral("L03"));
    goToRow(screen, 0, Screen::ColRow);
    EXPECT_EQ(pairs(QStringLiteral("03"), QStringLiteral("L03")), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("Select USER_NM From MST_TARVOLIN_SIZE "
                                         "Where ROW = '03'"))
                  .toString(),
              QStringLiteral("tester"));

    // A line added and left empty is no record: it goes away without a word.
    dialogs.clear();
    key(screen, Qt::Key_Insert);
    QTest::keyClick(screen->gridView->focusWidget(), Qt::Key_Escape);
    goToRow(screen, 0, Screen::ColRow);
    EXPECT_EQ(screen->model()->rowCount(), 4);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(count(QStringLiteral("MST_TARVOLIN_SIZE")), 4);
}

TEST_P(SizeRowScreenTest, InsertWorksOnAnEmptyTable)
{
    Screen *screen = open<Screen>();
    ASSERT_EQ(screen->model()->rowCount(), 0);
    key(screen, Qt::Key_Insert);
    ASSERT_EQ(screen->model()->rowCount(), 1);
    typeIntoEditor(screen, QStringLiteral("01"));
    typeInto(screen, 0, Screen::ColSizeKbn, QStringLiteral("F01"));
    key(screen, Qt::Key_F1); // closing writes the line first
    EXPECT_EQ(pairs(QStringLiteral("01"), QStringLiteral("F01")), 1);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join(u'/').toStdString();
}

TEST_P(SizeRowScreenTest, DeleteRemovesTheCurrentLineAfterAQuestion)
{
    Screen *screen = openSizes();
    goToRow(screen, 1, Screen::ColRow);
    dialogs.answers = {false};
    key(screen, Qt::Key_Delete);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("削除しますか？"));
    EXPECT_EQ(dialogs.shown[0].kind, Shown::Question);
    EXPECT_EQ(count(QStringLiteral("MST_TARVOLIN_SIZE")), 3);

    dialogs.answers = {true};
    key(screen, Qt::Key_Delete);
    EXPECT_EQ(pairs(QStringLiteral("01"), QStringLiteral("M01")), 0);
    EXPECT_EQ(count(QStringLiteral("MST_TARVOLIN_SIZE")), 2);
    EXPECT_EQ(columnTexts(screen, Screen::ColSizeKbn),
              QStringList({QStringLiteral("L01"), QStringLiteral("F01")}));
}

TEST_P(SizeRowScreenTest, AFailedLoadSaysTheDataCannotBeShownAndLeavesTheGridEmpty)
{
    db().exec(QStringLiteral("Alter Table MST_TARVOLIN_SIZE Rename To MST_TARVOLIN_SIZE_AWAY"));
    Screen *screen = open<Screen>();
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Error); // the database's own text first
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("データを表示できません。"));
    EXPECT_EQ(dialogs.shown[1].icon, Icon::Error);
    EXPECT_EQ(screen->model()->rowCount(), 0);
    EXPECT_TRUE(screen->isVisible());
}
