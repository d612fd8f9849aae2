#include "ConditionText.h"
#include "ErrorListScreen.h"
#include "ImportDateDialog.h"
#include "ImportDates.h"
#include "MainMenuScreen.h"
#include "ModalWindows.h"
#include "MonthlyRegisterScreen.h"
#include "OrderEditScreen.h"
#include "ScreenRegistry.h"
#include "ScreenTest.h"
#include "globals.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>

class PeriodScreensTest : public ScreenTest {
protected:
    void addMonth(const QString &nen, const QString &tuki, const QString &flg)
    {
        db().exec(QStringLiteral("INSERT INTO SYS_TUKI(NEN, TUKI, KAKUTEI_FLG) VALUES(:n, :t, :f)"),
                  {{"n", nen}, {"t", tuki}, {"f", flg}});
    }
    void addImport(const QString &date, const QString &flg = QStringLiteral("0"))
    {
        db().exec(QStringLiteral("INSERT INTO SYS_IMPDATE(IMP_DATE, KAKUTEI_FLG) VALUES(:d, :f)"),
                  {{"d", date}, {"f", flg}});
    }
    ImportDateDialog *picker()
    {
        return static_cast<ImportDateDialog *>(ScreenRegistry::instance().load<ImportDateDialog>());
    }
    static QStringList column(QTableWidget *grid, int c)
    {
        QStringList values;
        for (int r = 0; r < grid->rowCount(); ++r)
            values << grid->item(r, c)->text();
        return values;
    }
};
INSTANTIATE_SCREEN_TEST(PeriodScreensTest);

TEST_P(PeriodScreensTest, RegisterWithoutMonthsSaysSo)
{
    MonthlyRegisterScreen screen(session);
    EXPECT_EQ(dialogs.texts(), QStringList({QStringLiteral("データがありません。")}));
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(screen.gridView->rowCount(), 0);
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("月次処理設定"));
}

TEST_P(PeriodScreensTest, RegisterListsNewestFirstAndRowsFillConfirmOrCancel)
{
    addMonth("2026", "11", "1");
    addMonth("2026", "12", "0");
    addMonth("2025", "12", "1");
    MonthlyRegisterScreen screen(session);
    EXPECT_EQ(column(screen.gridView, 0), QStringList({"2026", "2026", "2025"}));
    EXPECT_EQ(column(screen.gridView, 1), QStringList({"12", "11", "12"}));
    EXPECT_EQ(column(screen.gridView, 2), QStringList({"0", "1", "1"}));
    // The open month is ready to be confirmed.
    EXPECT_EQ(screen.confirmYearEdit->text() + screen.confirmMonthEdit->text(),
              QStringLiteral("202612"));

    screen.newYearEdit->setText(QStringLiteral("2030"));
    screen.gridView->setCurrentCell(1, 0);
    EXPECT_EQ(screen.reopenYearEdit->text() + screen.reopenMonthEdit->text(),
              QStringLiteral("202611"));
    EXPECT_TRUE(screen.confirmYearEdit->text().isEmpty());
    EXPECT_TRUE(screen.confirmMonthEdit->text().isEmpty());
    EXPECT_EQ(screen.newYearEdit->text(), QStringLiteral("2030")); // new-month inputs untouched

    // Confirm inputs are empty now: a beep only.
    QTest::mouseClick(screen.confirmButton, Qt::LeftButton);
    EXPECT_EQ(dialogs.texts(), QStringList({QString()}));
    EXPECT_EQ(dialogs.last().kind, Shown::Beep);

    screen.gridView->setCurrentCell(0, 0);
    QTest::mouseClick(screen.confirmButton, Qt::LeftButton);
    EXPECT_EQ(count("SYS_TUKI", "KAKUTEI_FLG = '0'"), 0);
    // The refilled grid shows the confirmed month, now ready to be reopened.
    EXPECT_EQ(column(screen.gridView, 2), QStringList({"1", "1", "1"}));
    EXPECT_EQ(screen.reopenYearEdit->text() + screen.reopenMonthEdit->text(),
              QStringLiteral("202612"));

    screen.gridView->setCurrentCell(1, 0);
    QTest::mouseClick(screen.reopenButton, Qt::LeftButton);
    EXPECT_EQ(count("SYS_TUKI", "KAKUTEI_FLG = '0' AND TUKI = '11'"), 1);
}

TEST_P(PeriodScreensTest, NewMonthIsTypedWithEnterAndClosesTheScreen)
{
    addMonth("2026", "12", "1");
    MonthlyRegisterScreen screen(session);
    screen.show();
    screen.newYearEdit->setFocus();
    QTest::keyClicks(screen.newYearEdit, QStringLiteral("2027"));
    QTest::keyClick(screen.newYearEdit, Qt::Key_Return); // to the month
    QTest::keyClicks(screen.focusWidget(), QStringLiteral("1"));
    EXPECT_EQ(screen.newMonthEdit->text(), QStringLiteral("1"));
    QTest::keyClick(screen.newMonthEdit, Qt::Key_Return); // to the frame's OK
    EXPECT_EQ(screen.focusWidget(), screen.newMonthButton);
    QTest::keyClick(screen.newMonthButton, Qt::Key_Return);
    EXPECT_EQ(screen.newMonthEdit->text(), QStringLiteral("01"));
    EXPECT_EQ(dialogs.texts(),
              QStringList({QStringLiteral("2027年01月の月次業務を新規作成します。"),
                           QStringLiteral("完了しました。")}));
    EXPECT_EQ(count("SYS_TUKI", "NEN = '2027' AND TUKI = '01' AND KAKUTEI_FLG = '0'"), 1);
    EXPECT_FALSE(screen.isVisible());
}

TEST_P(PeriodScreensTest, RefusedNewMonthKeepsTheScreenOpen)
{
    addMonth("2026", "12", "0");
    MonthlyRegisterScreen screen(session);
    screen.show();
    screen.newYearEdit->setText(QStringLiteral("2011"));
    screen.newMonthEdit->setText(QStringLiteral("13"));
    const int opens = session.openCount();
    QTest::mouseClick(screen.newMonthButton, Qt::LeftButton);
    EXPECT_EQ(dialogs.texts(), QStringList({QStringLiteral("不正です。")}));
    EXPECT_EQ(session.openCount(), opens); // a typing mistake never reaches the database
    screen.confirmYearEdit->clear();
    QTest::mouseClick(screen.confirmButton, Qt::LeftButton);
    EXPECT_EQ(dialogs.last().kind, Shown::Beep);
    EXPECT_EQ(session.openCount(), opens);
    dialogs.clear();
    screen.newMonthEdit->setText(QStringLiteral("2"));
    QTest::mouseClick(screen.newMonthButton, Qt::LeftButton);
    // Refused before the question: nobody agrees to a month that cannot be created.
    EXPECT_EQ(dialogs.texts(),
              QStringList({QStringLiteral("確定されていない月次業務が存在します。\n"
                                          "月次業務は一つだけ有効に出来ます。")}));
    EXPECT_TRUE(screen.isVisible());
    EXPECT_EQ(count("SYS_TUKI"), 1);
}

TEST_P(PeriodScreensTest, PickerRefusesWhileARelatedScreenIsOpen)
{
    addImport("20261208");
    ScreenRegistry::instance().add("frmOrd_Edit",
                                   [](Session &) { return new QWidget(nullptr, Qt::Window); });
    ScreenRegistry::instance().show<OrderEditScreen>();
    session.setImportDate(QStringLiteral("20261201"));
    ImportDateDialog *p = picker();
    p->openModal();
    EXPECT_EQ(p->outcome(), Outcome::Refused);
    EXPECT_EQ(dialogs.texts(), QStringList({QStringLiteral(
                                   "関連フォームが開いてます。\n閉じてから実行してください。\n"
                                   "（開いている画面: 受注データ修正）")}));
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(session.importDate(), QStringLiteral("20261201"));
}

TEST_P(PeriodScreensTest, PickerWithoutOpenImportsDoesNotAppear)
{
    addImport("20261130", "1");
    bool appeared = false;
    QTimer::singleShot(0, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            appeared = true;
            modal->close();
        }
    });
    ImportDateDialog *p = picker();
    p->openModal();
    QCoreApplication::processEvents();
    EXPECT_FALSE(appeared);
    EXPECT_EQ(p->outcome(), Outcome::Refused);
    EXPECT_EQ(dialogs.texts(), QStringList({QStringLiteral("データがありません。")}));
}

TEST_P(PeriodScreensTest, PickerListsNewestFirstSizedByRowsAndEnterChooses)
{
    addImport("20261201");
    addImport("20261208");
    addImport("20261130", "1");
    addImport("20261205");
    ImportDateDialog *p = picker();
    QStringList listed;
    int height = 0;
    int width = 0;
    whenModal([&](QWidget *modal) {
        listed = column(p->gridView, 0);
        height = modal->height();
        width = modal->width();
        p->gridView->setFocus();
        p->gridView->setCurrentCell(1, 0);
        QTest::keyClick(p->gridView, Qt::Key_Return);
    });
    p->openModal();
    EXPECT_EQ(listed, QStringList({"20261208", "20261205", "20261201"}));
    EXPECT_EQ(ImportDateDialog::heightTwips(3), 1570);
    EXPECT_EQ(height, ImportDateDialog::twipsToPixels(1570));
    EXPECT_EQ(width, ImportDateDialog::twipsToPixels(6000));
    EXPECT_EQ(p->outcome(), Outcome::Done);
    EXPECT_EQ(session.importDate(), QStringLiteral("20261205"));
    EXPECT_EQ(conditionText(session.orderCondition()),
              QStringLiteral("Where IMP_DATE = '20261205' And FLG3 = '0' And FLG4 = '0' "));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_P(PeriodScreensTest, PickerEscapeKeepsTheLastChoiceAndDoubleClickChooses)
{
    addImport("20261208");
    session.setImportDate(QStringLiteral("20261101"));
    session.setOrderCondition(ImportDates::whereFor(QStringLiteral("20261101")));
    ImportDateDialog *p = picker();
    whenModal([&](QWidget *) { QTest::keyClick(p->gridView, Qt::Key_Escape); });
    p->openModal();
    EXPECT_EQ(p->outcome(), Outcome::Declined);
    EXPECT_EQ(session.importDate(), QStringLiteral("20261101"));
    EXPECT_EQ(conditionText(session.orderCondition()),
              QStringLiteral("Where IMP_DATE = '20261101' And FLG3 = '0' And FLG4 = '0' "));

    whenModal([&](QWidget *) { emit p->gridView->cellDoubleClicked(0, 0); });
    p->openModal();
    EXPECT_EQ(p->outcome(), Outcome::Done);
    EXPECT_EQ(session.importDate(), QStringLiteral("20261208"));
}

TEST_P(PeriodScreensTest, PickerAsksAgainForAnEmptyDate)
{
    addImport("");
    ImportDateDialog *p = picker();
    bool stillOpen = false;
    whenModal([&](QWidget *modal) {
        QTest::keyClick(p->gridView, Qt::Key_Return);
        stillOpen = modal->isVisible();
        modal->close();
    });
    p->openModal();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(dialogs.texts(), QStringList({QStringLiteral("???")}));
    EXPECT_EQ(p->outcome(), Outcome::Declined);
}

// The whole way from the menu: a day-bound command while the order edit screen is open.
TEST_P(PeriodScreensTest, MenuCommandIsRefusedWhileTheOrderEditScreenIsOpen)
{
    for (const char *name : {"frmOrd_Edit", "frmOrd_ErrView"})
        ScreenRegistry::instance().add(name,
                                       [](Session &) { return new QWidget(nullptr, Qt::Window); });
    addImport("20261208");
    QFile menuFile(path("Menu1.txt"));
    ASSERT_TRUE(menuFile.open(QIODevice::WriteOnly));
    menuFile.write("Menu_No,Menu_No_IDX,Menu_Name,Menu_Ku,Next_P\n0,1,エラー確認,S,ErrView\n"
                   "0,2,月次処理設定,S,TUKI_SYORI\n");
    menuFile.close();
    auto *menu = static_cast<MainMenuScreen *>(ScreenRegistry::instance().show<MainMenuScreen>());
    ScreenRegistry::instance().show<OrderEditScreen>();
    QTest::keyClick(menu->commandEdit, Qt::Key_F1);
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.last().text.startsWith(
        QStringLiteral("関連フォームが開いてます。\n閉じてから実行してください。\n")));
    EXPECT_FALSE(ScreenRegistry::instance().isOpen<ErrorListScreen>());

    // With the edit screen closed the same key leads through the picker to the error list.
    ScreenRegistry::instance().find<OrderEditScreen>()->close();
    processDeletes();
    whenModal([&](QWidget *) { QTest::keyClick(picker()->gridView, Qt::Key_Return); });
    QTest::keyClick(menu->commandEdit, Qt::Key_F1);
    EXPECT_TRUE(ScreenRegistry::instance().isOpen<ErrorListScreen>());
    EXPECT_EQ(session.importDate(), QStringLiteral("20261208"));

    // The monthly register opens modal over the menu.
    QString title;
    whenModal([&](QWidget *modal) {
        title = modal->windowTitle();
        modal->close();
    });
    QTest::keyClick(menu->commandEdit, Qt::Key_F2);
    EXPECT_EQ(title, QStringLiteral("月次処理設定"));
}
