#include "../ReportTest.h"

#include "AllScreens.h"
#include "OpenWithMode.h"
#include "PrintScreen.h"
#include "ScreenRegistry.h"
#include "globals.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>

class PrintScreenTest : public ReportTest {
protected:
    // Opens the screen modally in `mode`; `whileOpen` runs inside the modal loop and must
    // close the screen.
    void openModal(PrintScreen &screen, const QString &mode, std::function<void()> whileOpen)
    {
        bool ran = false;
        QTimer::singleShot(0, &screen, [&] {
            ran = true;
            whileOpen();
            if (screen.isVisible())
                screen.close();
        });
        screen.openModal(mode);
        EXPECT_TRUE(ran);
    }
};
INSTANTIATE_SCREEN_TEST(PrintScreenTest);

TEST_P(PrintScreenTest, EmptyWorkTableShowsNothingAndOkRefuses)
{
    PrintScreen screen(session);
    openModal(screen, QStringLiteral("OrderList"), [&] {
        EXPECT_TRUE(screen.isModal());
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("受注情報"));
        EXPECT_EQ(screen.importDateEdit->text(), QStringLiteral("Nothing"));
        QTest::keyClick(&screen, Qt::Key_Return);
        QTest::keyClick(&screen, Qt::Key_Escape);
    });
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("レコードがありません。"));
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Error);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_P(PrintScreenTest, OkPrintsTheListOfItsModeAndTheScreenStaysOpen)
{
    addLines(3, {{QStringLiteral("IMP_DATE"), QStringLiteral("20261207")}});
    PrintScreen screen(session);
    screen.reportEngine.setRecording(true);
    openModal(screen, QStringLiteral("CarList"), [&] {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("ネーム生産情報"));
        EXPECT_EQ(screen.importDateEdit->text(), QStringLiteral("20261207"));
        QTest::keyClick(&screen, Qt::Key_Return);
        EXPECT_TRUE(screen.isVisible());
        QTest::mouseClick(screen.okButton, Qt::LeftButton);
        QTest::mouseClick(screen.cancelButton, Qt::LeftButton);
        EXPECT_FALSE(screen.isVisible());
    });
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_TRUE(QFileInfo(opened[0]).fileName().startsWith(QStringLiteral("CarList_")));
    EXPECT_EQ(screen.reportEngine.pages().size(), 3); // detail page, materials, run totals
    EXPECT_EQ(screen.reportEngine.pages()[0].text(QStringLiteral("Su3")), QStringLiteral("10"));
}

TEST_P(PrintScreenTest, TheScreenNamesTheRunItPrintsAndPointsToEarlierRunsOfTheDay)
{
    addLines(2); // lines 1 and 2 of 20261208, the latest run
    auto line = [&](int ln, const QString &stamp, const QString &flg3) {
        insert(QStringLiteral("TBL_ORDER"),
               {{QStringLiteral("IMP_DATE"), QStringLiteral("20261208")},
                {QStringLiteral("IMP_LN"), ln},
                {QStringLiteral("B1"), stamp},
                {QStringLiteral("FLG3"), flg3}});
    };
    line(1, QStringLiteral("2026/12/08 11:00:00"), QStringLiteral("1"));
    line(2, QStringLiteral("2026/12/08 11:00:00"), QStringLiteral("1"));
    line(3, QStringLiteral("2026/12/08 10:00:00"), QStringLiteral("1"));
    line(4, QStringLiteral("2026/12/08 09:30:00"), QStringLiteral("1"));
    line(5, QStringLiteral(""), QStringLiteral("0"));
    {
        PrintScreen screen(session);
        openModal(screen, QStringLiteral("OrderList"), [&] {
            EXPECT_EQ(screen.runLabel->text(),
                      QStringLiteral(
                          "変換 2026/12/08 11:00:00 の 2 行を印刷します。\n"
                          "同じ処理日の前の変換（2 回）の帳票は「実行履歴」から再印刷します。"));
        });
    }
    // The run is cancelled: its rows are still there, but no longer the day's lists.
    db().exec(QStringLiteral("UPDATE TBL_ORDER SET B1 = '', FLG3 = '0' WHERE IMP_LN <= 2"));
    PrintScreen screen(session);
    openModal(screen, QStringLiteral("OrderList"), [&] {
        EXPECT_EQ(screen.importDateEdit->text(), QStringLiteral("20261208"));
        EXPECT_EQ(
            screen.runLabel->text(),
            QStringLiteral("取り消された変換の 2 行です。変換し直してから印刷してください。"));
    });
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_P(PrintScreenTest, AFailedReadShowsTheDatabaseTextWithoutItsNumber)
{
    db().exec(QStringLiteral("DROP TABLE WRK_RPT"));
    PrintScreen screen(session);
    openModal(screen, QStringLiteral("OrderList"),
              [&] { EXPECT_EQ(screen.importDateEdit->text(), QStringLiteral("Nothing")); });
    ASSERT_EQ(dialogs.shown.size(), 1);
    // The database's own text (PostgreSQL's ends in its code), without the number appended.
    const QString numbered = db().isPostgreSQL() ? QStringLiteral("\\(\\w+\\)\\(\\w+\\)$")
                                                 : QStringLiteral("\\(\\w+\\)$");
    EXPECT_FALSE(dialogs.shown[0].text.contains(QRegularExpression(numbered)))
        << dialogs.shown[0].text.toStdString();
}

TEST_P(PrintScreenTest, UnknownPrinterEndsInFailure)
{
    addLines(2);
    session.setListPrinter(QStringLiteral("存在しないプリンタ"));
    PrintScreen screen(session);
    openModal(screen, QStringLiteral("TotalList"), [&] {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("合計表"));
        QTest::mouseClick(screen.okButton, Qt::LeftButton);
    });
    EXPECT_EQ(dialogs.messages(), QStringList({QStringLiteral("プリンタ名が正しくありません。"),
                                               QStringLiteral("失敗しました。")}));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("プリントモジュール内の初期化処理"));
    EXPECT_EQ(dialogs.shown[1].icon, Icon::Error);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_P(PrintScreenTest, MenuOpensTheScreenByFormNameWithItsCommandWord)
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.clear();
    registerAllScreens();
    addLines(1);
    QWidget *screen = registry.load<PrintScreen>();
    ASSERT_NE(screen, nullptr);
    auto *withMode = dynamic_cast<OpenWithMode *>(screen);
    ASSERT_NE(withMode, nullptr);
    QTimer::singleShot(0, screen, [&] {
        EXPECT_EQ(screen->windowTitle(), QStringLiteral("受注情報"));
        QTest::mouseClick(static_cast<PrintScreen *>(screen)->okButton, Qt::LeftButton);
        screen->close();
    });
    withMode->openModal(QStringLiteral("OrderList"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(registry.isOpen<PrintScreen>()); // destroyed on close
    EXPECT_EQ(opened.size(), 1);
    registry.clear();
}
