#include "AllScreens.h"
#include "ClickableLabel.h"
#include "DbConnection.h"
#include "DbTest.h"
#include "MainMenuScreen.h"
#include "TestScreens.h"
#include "globals.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {
// Positions deliberately out of order; entry 4 uses a lower-case kind.
const char *kMenu = "Menu_No,Menu_No_IDX,Menu_Name,Menu_Ku,Next_P\n"
                    "0,3,三 工場,S,MST_FACTORY\n"
                    "0,1,一 ネーム,S,MST_CAR\n"
                    "0,0,テストメニュー,,\n"
                    "0,2,二 品質,S,MST_QUL\n"
                    "0,16,十六 参照,S,OrdSansyou\n"
                    "0,5,五 サイズ,S,MST_TARVOLIN_SIZE\n"
                    "0,4,四 下の階層,m,1\n"
                    "0,6,六 画面,f,frmOrd_Imp\n"
                    "0,7,七 未知,S,NoSuchWord\n"
                    "0,8,八 大小違い,S,app_exit\n"
                    "0,9,九 修正,S,OrderEdit\n"
                    "0,10,十 リスト,S,CarList\n"
                    "0,11,十一 月次,S,TUKI_SYORI\n"
                    "0,12,十二 無効,X,frmMst_Car\n"
                    "0,13,十三 終了,S,App_Exit\n"
                    "0,14,十四 無い画面,F,frmNoSuchScreen\n"
                    "1,0,下の階層,,\n"
                    "1,2,戻る,M,0\n"
                    "1,1,エラー確認,S,ErrView\n";

const QStringList kScreens = {"frmMst_Car",          "frmMst_Qul",     "frmMst_Fc",
                              "frmMst_TarvolinSize", "frmOrd_Sansyou", "frmOrd_Imp",
                              "frmOrd_Edit",         "frmOrd_Find",    "frmOrd_ErrView"};
} // namespace

class MainMenuTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ScreenRegistry &registry = ScreenRegistry::instance();
        registry.clear();
        // The screen table as the desk has it; the screens the menu opens are stand-ins.
        registerAllScreens();
        for (const QString &name : kScreens)
            registerPlainScreen(name);
        registry.add(QStringLiteral("frmImpDate"), [](Session &s) { return new FakePicker(s); });
        registry.add(QStringLiteral("frmOrd_Print"), [](Session &) { return new FakePrintScreen; });
        registry.add(QStringLiteral("frmTukiSyori"), [](Session &) { return new FakeModal; });
        FakePicker::nextDate.clear();
        FakePicker::opened = 0;
        FakePrintScreen::modes.clear();
        writeMenu(kMenu);
    }
    void TearDown() override
    {
        ScreenRegistry::instance().clear();
        DbTest::TearDown();
    }

    void writeMenu(const QByteArray &content)
    {
        QFile file(path(QStringLiteral("Menu1.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    MainMenuScreen *openMenu()
    {
        return static_cast<MainMenuScreen *>(
            ScreenRegistry::instance().show(QStringLiteral("frm_main")));
    }

    // The screens that came up (MainMenuScreen and the picker excluded), then closes them.
    QStringList takeOpened()
    {
        QStringList names;
        for (const QString &name : ScreenRegistry::instance().openForms())
            if (name != QLatin1String("frm_main") && name != QLatin1String("frmImpDate"))
                names << name;
        names.sort();
        for (const QString &name : names)
            ScreenRegistry::instance().find(name)->close();
        processDeletes();
        return names;
    }

    QStringList captions(MainMenuScreen *menu) const
    {
        QStringList list;
        for (ClickableLabel *label : menu->entryCaptions)
            list << label->text();
        return list;
    }

    void type(MainMenuScreen *menu, const QString &text)
    {
        menu->commandEdit->setText(text);
        QTest::keyClick(menu->commandEdit, Qt::Key_Return);
    }
};
INSTANTIATE_SCREEN_TEST(MainMenuTest);

TEST_P(MainMenuTest, ShowsTheTopLevelWithEachCaptionAtItsPosition)
{
    MainMenuScreen *menu = openMenu();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(menu->windowTitle(), QStringLiteral("Ostera System"));
    EXPECT_EQ(menu->menuFrame->title(), QStringLiteral("テストメニュー"));
    const QStringList shown = captions(menu);
    EXPECT_EQ(shown[0], QStringLiteral("一 ネーム"));
    EXPECT_EQ(shown[2], QStringLiteral("三 工場"));
    EXPECT_EQ(shown[3], QStringLiteral("四 下の階層"));
    EXPECT_EQ(shown[14], QString());
    EXPECT_EQ(shown[15], QStringLiteral("十六 参照"));
    EXPECT_EQ(menu->entryNumbers[15]->text(), QStringLiteral("16."));
    EXPECT_EQ(menu->commandEdit->placeholderText(),
              QStringLiteral("メニュー番号を入れてください。"));
}

TEST_P(MainMenuTest, TypedNumbersChooseEntriesAndEmptyTheBox)
{
    MainMenuScreen *menu = openMenu();
    const QList<QPair<QString, QStringList>> cases = {
        {"3", {"frmMst_Fc"}},
        {"05", {"frmMst_TarvolinSize"}},
        {"2.4", {"frmMst_Qul"}},
        {"16", {"frmOrd_Sansyou"}},
        {"00000000000001", {"frmMst_Car"}}, // 14 characters
        {"abc", {}},
        {"17", {}},
        {"0", {}},
        {"-1", {}},
        {"000000000000001", {}}, // 15 characters
        {"12", {}},              // an entry of unknown kind is inert
    };
    for (const auto &[typed, screens] : cases) {
        type(menu, typed);
        EXPECT_TRUE(menu->commandEdit->text().isEmpty()) << typed.toStdString();
        EXPECT_EQ(takeOpened(), screens) << typed.toStdString();
    }
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join('|').toStdString();
    EXPECT_TRUE(menu->isVisible());
}

TEST_P(MainMenuTest, F1ToF9ChooseWithAnyModifierAndF10ToF12DoNothing)
{
    MainMenuScreen *menu = openMenu();
    QTest::keyClick(menu->commandEdit, Qt::Key_F1);
    EXPECT_EQ(takeOpened(), QStringList({"frmMst_Car"}));
    QTest::keyClick(menu->commandEdit, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(takeOpened(), QStringList({"frmMst_Fc"}));
    QTest::keyClick(menu->commandEdit, Qt::Key_F5, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(takeOpened(), QStringList({"frmMst_TarvolinSize"}));
    // F10 would be CarList, F11 the monthly register: keys beyond F9 choose nothing.
    for (Qt::Key key : {Qt::Key_F10, Qt::Key_F11, Qt::Key_F12})
        QTest::keyClick(menu->commandEdit, key);
    EXPECT_TRUE(takeOpened().isEmpty());
    EXPECT_TRUE(FakePrintScreen::modes.isEmpty());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    // A function key never lands in the box.
    EXPECT_TRUE(menu->commandEdit->text().isEmpty());
}

TEST_P(MainMenuTest, ClickingACaptionChoosesItsEntry)
{
    MainMenuScreen *menu = openMenu();
    QTest::mouseClick(menu->entryCaptions[1], Qt::LeftButton);
    EXPECT_EQ(takeOpened(), QStringList({"frmMst_Qul"}));
    QTest::mouseClick(menu->entryCaptions[5], Qt::LeftButton); // F entry, kind in lower case
    EXPECT_EQ(takeOpened(), QStringList({"frmOrd_Imp"}));
}

TEST_P(MainMenuTest, LowerCaseMEntryChangesLevelAndTheParentEntryLeadsBack)
{
    MainMenuScreen *menu = openMenu();
    type(menu, QStringLiteral("4"));
    EXPECT_EQ(menu->menuFrame->title(), QStringLiteral("下の階層"));
    EXPECT_EQ(captions(menu)[1], QStringLiteral("戻る"));
    EXPECT_EQ(captions(menu)[2], QString()); // nothing of the old level stays
    EXPECT_EQ(menu->menu().currentMenuNo(), QStringLiteral("1"));
    QTest::keyClick(menu->commandEdit, Qt::Key_F2);
    EXPECT_EQ(menu->menuFrame->title(), QStringLiteral("テストメニュー"));
    EXPECT_EQ(captions(menu)[0], QStringLiteral("一 ネーム"));
}

TEST_P(MainMenuTest, UnknownAndWronglyCasedWordsAreRefused)
{
    MainMenuScreen *menu = openMenu();
    type(menu, QStringLiteral("7"));
    type(menu, QStringLiteral("8"));
    menu->loadProcedure(QStringLiteral("mst_car"));
    ASSERT_EQ(dialogs.shown.size(), 3);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("NoSuchWord そんな命令ないです。"));
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("app_exit そんな命令ないです。"));
    EXPECT_EQ(dialogs.shown[2].text, QStringLiteral("mst_car そんな命令ないです。"));
    for (const Shown &s : dialogs.shown) {
        EXPECT_EQ(s.icon, Icon::Error);
        EXPECT_EQ(s.title, QStringLiteral("呼出しエラー"));
    }
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(takeOpened().isEmpty());
}

TEST_P(MainMenuTest, WordsWhoseScreenIsNotBuiltAnswerAsUnknown)
{
    ScreenRegistry::instance().remove(QStringLiteral("frmOrd_Henkan"));
    ScreenRegistry::instance().remove(QStringLiteral("frmRunHistory"));
    MainMenuScreen *menu = openMenu();
    menu->loadProcedure(QStringLiteral("OrderHenkan")); // picker command, screen not registered
    menu->loadProcedure(QStringLiteral("RunHistory"));
    type(menu, QStringLiteral("14")); // F entry naming no screen
    EXPECT_EQ(dialogs.texts(),
              QStringList({"OrderHenkan そんな命令ないです。", "RunHistory そんな命令ないです。",
                           "frmNoSuchScreen そんな命令ないです。"}));
    EXPECT_EQ(FakePicker::opened, 0); // no date is asked for a screen that cannot open
}

TEST_P(MainMenuTest, PickerCommandsOpenNothingWhenThePickerIsCancelled)
{
    MainMenuScreen *menu = openMenu();
    session.setImportDate(QStringLiteral("20261201"));
    type(menu, QStringLiteral("9"));
    EXPECT_EQ(FakePicker::opened, 1);
    EXPECT_TRUE(takeOpened().isEmpty());
    EXPECT_EQ(session.importDate(), QStringLiteral("20261201"));

    FakePicker::nextDate = QStringLiteral("20261208");
    type(menu, QStringLiteral("9"));
    ScreenRegistry &registry = ScreenRegistry::instance();
    ASSERT_TRUE(registry.isOpen(QStringLiteral("frmOrd_Find")));
    EXPECT_FALSE(registry.find(QStringLiteral("frmOrd_Find"))->isVisible()); // loaded, not shown
    EXPECT_TRUE(registry.find(QStringLiteral("frmOrd_Edit"))->isVisible());
    EXPECT_EQ(session.importDate(), QStringLiteral("20261208"));
    EXPECT_EQ(takeOpened(), QStringList({"frmOrd_Edit", "frmOrd_Find"}));

    type(menu, QStringLiteral("4")); // level 1, entry 1: ErrView
    type(menu, QStringLiteral("1"));
    EXPECT_EQ(FakePicker::opened, 3);
    EXPECT_EQ(takeOpened(), QStringList({"frmOrd_ErrView"}));
}

TEST_P(MainMenuTest, ListCommandsHandTheirWordToThePrintScreen)
{
    MainMenuScreen *menu = openMenu();
    type(menu, QStringLiteral("10"));
    menu->loadProcedure(QStringLiteral("OrderList"));
    menu->loadProcedure(QStringLiteral("TotalList"));
    EXPECT_EQ(FakePrintScreen::modes, QStringList({"CarList", "OrderList", "TotalList"}));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_P(MainMenuTest, TheMonthlyRegisterBlocksTheMenuUntilClosed)
{
    MainMenuScreen *menu = openMenu();
    bool sawModal = false;
    FakeModal::whileOpen = [&](QDialog *dialog) {
        sawModal = QApplication::activeModalWidget() == dialog && dialog->isVisible();
        dialog->close();
    };
    type(menu, QStringLiteral("11"));
    EXPECT_TRUE(sawModal);
    processDeletes();
    EXPECT_FALSE(ScreenRegistry::instance().isOpen(QStringLiteral("frmTukiSyori")));
    EXPECT_TRUE(menu->isVisible());
}

TEST_P(MainMenuTest, AppExitClosesEveryScreenAndTheMenu)
{
    MainMenuScreen *menu = openMenu();
    type(menu, QStringLiteral("1"));
    type(menu, QStringLiteral("2"));
    ScreenRegistry::instance().load(QStringLiteral("frmOrd_Find")); // a hidden screen too
    type(menu, QStringLiteral("13"));
    processDeletes();
    EXPECT_TRUE(ScreenRegistry::instance().openForms().isEmpty())
        << ScreenRegistry::instance().openForms().join(',').toStdString();
}

TEST_P(MainMenuTest, AScreenThatStaysOpenKeepsTheDeskRunning)
{
    class Stubborn : public QWidget {
    protected:
        void closeEvent(QCloseEvent *event) override { event->ignore(); }
    };
    ScreenRegistry::instance().add(QStringLiteral("frmOrd_Imp"),
                                   [](Session &) { return new Stubborn; });
    MainMenuScreen *menu = openMenu();
    type(menu, QStringLiteral("6"));
    menu->close();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(ScreenRegistry::instance().find(QStringLiteral("frmOrd_Imp"))->isVisible());
    delete ScreenRegistry::instance().find(QStringLiteral("frmOrd_Imp"));
}

TEST_P(MainMenuTest, AnUnreadableMenuFileIsReportedAndLeavesAnEmptyMenu)
{
    writeMenu("Menu_No;Menu_No_IDX;Menu_Name\n0;1;x\n");
    MainMenuScreen *menu = openMenu();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("メニューファイルを読めません。")));
    EXPECT_TRUE(dialogs.shown[0].text.contains(path(QStringLiteral("Menu1.txt"))));
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Error);
    EXPECT_EQ(captions(menu).join(QString()), QString());
    type(menu, QStringLiteral("1"));
    EXPECT_TRUE(takeOpened().isEmpty());
}

TEST_P(MainMenuTest, AFailedConnectionIsReportedAndTheMenuStillOpens)
{
    session.shutdown();
    gProvider = QStringLiteral("SQLite");
    gServerName = QStringLiteral("missing/nothing.db");
    MainMenuScreen *menu = openMenu();
    ASSERT_GE(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("dbOpen"));
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Error);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(captions(menu)[0], QStringLiteral("一 ネーム"));
}

TEST_P(MainMenuTest, WithoutAnInstallationMenuTheShippedMenuIsShown)
{
    QFile::remove(path(QStringLiteral("Menu1.txt")));
    MainMenuScreen *menu = openMenu();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(menu->menuFrame->title(), QStringLiteral("メインメニュー"));
    EXPECT_EQ(captions(menu)[0], QStringLiteral("日次業務"));
}
