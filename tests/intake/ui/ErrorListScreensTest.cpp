#include "DbTest.h"
#include <QHeaderView>
#include <QLabel>

#include "AllScreens.h"
#include "CompositionPlateScreen.h"
#include "ErrorListScreen.h"
#include "FunctionKeyBar.h"
#include "GridPrintPreview.h"
#include "GridView.h"
#include "OrderCheck.h"
#include "OrderEditScreen.h"
#include "PagedQueryModel.h"
#include "Printers.h"
#include "RecheckScreen.h"
#include "ScreenRegistry.h"
#include "SizePlateScreen.h"
#include "globals.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSqlRecord>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

struct Line {
    QString date;
    int ln;
    QString knrNo;
    QString dataFlg;
    QString qulKey;
    QString sizeKey;
};

void addLines(Db &db, const QList<Line> &lines)
{
    for (const Line &l : lines)
        db.exec(QStringLiteral("INSERT INTO TBL_ORDER(IMP_DATE, IMP_LN, KNR_NO, DATA_FLG, QUL_KEY, "
                               "SIZE_KEY) VALUES(:d, :ln, :k, :f, :q, :s)"),
                {{QStringLiteral("d"), l.date},
                 {QStringLiteral("ln"), l.ln},
                 {QStringLiteral("k"), l.knrNo},
                 {QStringLiteral("f"), l.dataFlg},
                 {QStringLiteral("q"), l.qulKey},
                 {QStringLiteral("s"), l.sizeKey}});
}

void addFinding(Db &db, const QString &date, int ln, int errLn, const QString &text)
{
    db.exec(QStringLiteral("INSERT INTO TBL_ERR(IMP_DATE, IMP_LN, ERR_LN, ERR1, ERR2, ERR3) "
                           "VALUES(:d, :ln, :e, :k, :t, :v)"),
            {{QStringLiteral("d"), date},
             {QStringLiteral("ln"), ln},
             {QStringLiteral("e"), errLn},
             {QStringLiteral("k"), QStringLiteral("AB-%1").arg(ln, 3, 10, QLatin1Char('0'))},
             {QStringLiteral("t"), text},
             {QStringLiteral("v"), QStringLiteral("KEY%1").arg(ln)}});
}

// Rows of a list screen as "column|column".
QStringList rows(GridScreen &screen)
{
    QStringList out;
    PagedQueryModel *model = screen.model();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            if (!screen.gridView->isColumnHidden(c))
                cells << model->text(r, c);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

template <class Screen> std::unique_ptr<Screen> open(Session &session)
{
    std::unique_ptr<Screen> screen(static_cast<Screen *>(GridScreen::create<Screen>(session)));
    screen->show();
    QApplication::processEvents();
    return screen;
}

QAction *printMenu(QWidget &screen)
{
    return screen.findChild<QAction *>(QStringLiteral("printAction"));
}

// Presses the preview's print button as soon as the preview is up.
void printFromPreviewWhenShown(bool *seen, QString *caption)
{
    QTimer::singleShot(0, [seen, caption] {
        auto *preview = qobject_cast<GridPrintPreview *>(QApplication::activeModalWidget());
        *seen = preview != nullptr;
        if (!preview)
            return;
        *caption = preview->windowTitle() + QLatin1Char('|') + preview->pageIndicator();
        ASSERT_NE(preview->printAction(), nullptr);
        preview->printAction()->trigger();
    });
}

QString pdfText(const QString &pdf, int page = 0)
{
    QStringList args;
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    args << QStringLiteral("-layout") << pdf << QStringLiteral("-");
    QProcess process;
    process.start(QStringLiteral("pdftotext"), args);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    process.waitForFinished(30000);
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    for (const QString &line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

} // namespace

class ErrorListScreensTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        session.setImportDate(QStringLiteral("20261208"));
    }
};
INSTANTIATE_SCREEN_TEST(ErrorListScreensTest);

TEST_P(ErrorListScreensTest, ErrorListShowsTheDaysFindingsInLineAndCheckOrder)
{
    addFinding(db(), QStringLiteral("20261208"), 12, 2, QStringLiteral("サイズキーが未登録です。"));
    addFinding(db(), QStringLiteral("20261208"), 3, 1, QStringLiteral("ネーム種が未登録です。"));
    addFinding(db(), QStringLiteral("20261208"), 12, 1, QStringLiteral("品質キーが未登録です。"));
    addFinding(db(), QStringLiteral("20261207"), 1, 1, QStringLiteral("前日"));

    registerAllScreens();
    auto *screen =
        qobject_cast<ErrorListScreen *>(ScreenRegistry::instance().load<ErrorListScreen>());
    ASSERT_NE(screen, nullptr);
    screen->show();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("エラー確認"));
    EXPECT_EQ(screen->size(), QSize(900, 666));
    EXPECT_EQ(rows(*screen),
              QStringList({QStringLiteral("1|AB-003|ネーム種が未登録です。|KEY3"),
                           QStringLiteral("1|AB-012|品質キーが未登録です。|KEY12"),
                           QStringLiteral("2|AB-012|サイズキーが未登録です。|KEY12")}));
    PagedQueryModel *model = screen->model();
    ASSERT_EQ(model->columnCount(), 6);
    const QStringList captions = {QStringLiteral("IMP_DATE"), QStringLiteral("IMP_LN"),
                                  QStringLiteral("行"),       QStringLiteral("管理No"),
                                  QStringLiteral("内容1"),    QStringLiteral("内容2")};
    const QList<int> widths = {0, 0, 20, 60, 233, 233};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), captions[c]);
        EXPECT_EQ(screen->gridView->isColumnHidden(c), c < 2);
        if (c >= 2) {
            // Designed width, widened only so that the heading is never cut.
            const int heading =
                screen->gridView->horizontalHeader()->fontMetrics().horizontalAdvance(captions[c]);
            EXPECT_EQ(screen->gridView->columnWidth(c), qMax(widths[c], heading + 10));
        }
        EXPECT_FALSE(model->flags(model->index(0, c)) & Qt::ItemIsEditable);
    }
    EXPECT_EQ(screen->columnText(1), QStringLiteral("3")); // hidden line number

    // The grid, the count under it and the function-key band share the window below 印刷.
    ASSERT_NE(printMenu(*screen), nullptr);
    EXPECT_EQ(printMenu(*screen)->text(), QStringLiteral("印刷"));
    EXPECT_TRUE(screen->functionKeyBar->isVisible());
    EXPECT_EQ(screen->countLabel->text(), QStringLiteral("3 件"));
    const QMenuBar *menu = screen->findChild<QMenuBar *>();
    screen->resize(700, 500);
    EXPECT_EQ(screen->gridView->y(), menu->height());
    EXPECT_EQ(screen->gridView->geometry().bottom() + 1, screen->countLabel->y());
    EXPECT_EQ(screen->countLabel->geometry().bottom() + 1, screen->functionKeyBar->y());
    EXPECT_EQ(screen->functionKeyBar->geometry().bottom() + 1, 500);
    screen->resize(10, 5);
    EXPECT_EQ(screen->gridView->y(), menu->height());
    EXPECT_EQ(screen->gridView->height(), 0);
    ScreenRegistry::instance().clear(); // deletes the open screen
}

TEST_P(ErrorListScreensTest, ListsCloseByKeyAndOpenTheEditGridOnTheLineOfAFinding)
{
    addLines(db(), {{QStringLiteral("20261208"), 3, QStringLiteral("AB-003"), QStringLiteral("0"),
                     QStringLiteral("Q-1"), QStringLiteral("S-1")},
                    {QStringLiteral("20261208"), 12, QStringLiteral("AB-012"), QStringLiteral("0"),
                     QStringLiteral("Q-2"), QStringLiteral("S-2")}});
    addFinding(db(), QStringLiteral("20261208"), 3, 1, QStringLiteral("ネーム種が未登録です。"));
    addFinding(db(), QStringLiteral("20261208"), 12, 1, QStringLiteral("品質キーが未登録です。"));
    session.setOrderCondition(
        OrderCondition::where(QStringLiteral("IMP_DATE = "),
                              QStringLiteral("20261201"))); // left by a find on another day
    registerAllScreens();
    ScreenRegistry &registry = ScreenRegistry::instance();
    auto *list = qobject_cast<ErrorListScreen *>(registry.show<ErrorListScreen>());
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
    session.setImportDate(QStringLiteral("20261201")); // the picker chose another day meanwhile

    // A double click on the second finding: the edit grid opens on line 12.
    const QModelIndex finding = list->model()->index(1, 3);
    const QPoint cell = list->gridView->visualRect(finding).center();
    QTest::mouseClick(list->gridView->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(list->gridView->viewport(), Qt::LeftButton, {}, cell);
    auto *edit = qobject_cast<GridScreen *>(registry.find<OrderEditScreen>());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->columnText(QStringLiteral("IMP_LN")), QStringLiteral("12"));
    EXPECT_EQ(edit->model()->rowCount(), 2); // the day's lines, not the other day's condition
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join(u'\n').toStdString();

    // Back in the list, F5 on the first finding moves the open grid to line 3.
    list->gridView->setCurrentIndex(list->model()->index(0, 3));
    QTest::keyClick(list->gridView, Qt::Key_F5);
    EXPECT_EQ(edit->columnText(QStringLiteral("IMP_LN")), QStringLiteral("3"));

    // A finding whose line the grid does not show (converted meanwhile) says so.
    db().exec(QStringLiteral("UPDATE TBL_ORDER SET FLG3 = '1' WHERE IMP_LN = 12"));
    edit->fillGrid();
    list->gridView->setCurrentIndex(finding);
    QTest::keyClick(list->gridView, Qt::Key_Return);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.last().icon, Icon::Information);
    EXPECT_EQ(edit->columnText(QStringLiteral("IMP_LN")), QStringLiteral("3"));

    QPointer<ErrorListScreen> alive(list);
    QTest::keyClick(list->gridView, Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull() || !alive->isVisible());
    registry.clear();

    // An empty plate list says so; F1 closes it.
    session.setImportDate(QStringLiteral("20261209"));
    auto plates = open<SizePlateScreen>(session);
    EXPECT_EQ(plates->countLabel->text(), QStringLiteral("該当データがありません。"));
    EXPECT_TRUE(plates->functionKeyBar->isVisible());
    QTest::keyClick(plates->gridView, Qt::Key_F1);
    EXPECT_FALSE(plates->isVisible());
}

TEST_P(ErrorListScreensTest, DateWithAQuoteIsLookedUpAsTyped)
{
    addFinding(db(), QStringLiteral("2026'1208"), 1, 1, QStringLiteral("x"));
    addFinding(db(), QStringLiteral("20261208"), 2, 1, QStringLiteral("y"));
    session.setImportDate(QStringLiteral("2026'1208"));
    auto screen = open<ErrorListScreen>(session);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join(u'\n').toStdString();
    EXPECT_EQ(rows(*screen), QStringList{QStringLiteral("1|AB-001|x|KEY1")});
}

TEST_P(ErrorListScreensTest, CompositionPlateListShowsLetterpressLinesWithoutAPlate)
{
    addLines(db(), {
                       // letterpress, quality key without any plate row
                       {QStringLiteral("20261208"), 1, QStringLiteral("TK-002"),
                        QStringLiteral("0"), QStringLiteral("Q-NONE"), QStringLiteral("S1")},
                       // letterpress, plate row with count 0: listed although the master has it
                       {QStringLiteral("20261208"), 2, QStringLiteral("TK-001"),
                        QStringLiteral("0"), QStringLiteral("Q-ZERO"), QStringLiteral("S1")},
                       // letterpress with a plate: not listed
                       {QStringLiteral("20261208"), 3, QStringLiteral("TK-001"),
                        QStringLiteral("0"), QStringLiteral("Q-OK"), QStringLiteral("S1")},
                       // thermal transfer, missing key: never in this list
                       {QStringLiteral("20261208"), 4, QStringLiteral("AA-001"),
                        QStringLiteral("1"), QStringLiteral("Q-NONE"), QStringLiteral("S1")},
                       // same control number again, missing plate: next to its sibling
                       {QStringLiteral("20261208"), 5, QStringLiteral("TK-002"),
                        QStringLiteral("0"), QStringLiteral("Q-ZERO"), QStringLiteral("S1")},
                       // another day
                       {QStringLiteral("20261207"), 1, QStringLiteral("AA-009"),
                        QStringLiteral("0"), QStringLiteral("Q-NONE"), QStringLiteral("S1")},
                   });
    db().exec(
        QStringLiteral("INSERT INTO MST_QULPLATE(QUL_KEY, SU) VALUES ('Q-ZERO', 0), ('Q-OK', 2)"));

    auto screen = open<CompositionPlateScreen>(session);
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("組成版チェック"));
    EXPECT_EQ(screen->importDateEdit->text(), QStringLiteral("20261208"));
    EXPECT_EQ(rows(*screen),
              QStringList({QStringLiteral("TK-001|Q-ZERO"), QStringLiteral("TK-002|Q-NONE"),
                           QStringLiteral("TK-002|Q-ZERO")}));
    EXPECT_EQ(screen->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("管理No"));
    EXPECT_EQ(screen->model()->headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("品質キー"));
    EXPECT_EQ(screen->gridView->columnWidth(1), 133);
    ASSERT_NE(printMenu(*screen), nullptr);

    // The designed layout stays when the window changes size.
    const QRect designed = screen->gridView->geometry();
    screen->resize(200, 150);
    EXPECT_EQ(screen->gridView->geometry(), designed);
}

TEST_P(ErrorListScreensTest, SizePlateListShowsKeysMissingOrWithoutPlateNumber)
{
    addLines(db(), {
                       {QStringLiteral("20261208"), 1, QStringLiteral("TK-1000"),
                        QStringLiteral("0"), QStringLiteral("Q"), QStringLiteral("S-NONE")},
                       {QStringLiteral("20261208"), 2, QStringLiteral("TK-999"),
                        QStringLiteral("0"), QStringLiteral("Q"), QStringLiteral("S-NOPLATE")},
                       {QStringLiteral("20261208"), 3, QStringLiteral("TK-002"),
                        QStringLiteral("0"), QStringLiteral("Q"), QStringLiteral("S-OK")},
                       {QStringLiteral("20261208"), 4, QStringLiteral("TK-000"),
                        QStringLiteral("1"), QStringLiteral("Q"), QStringLiteral("S-NONE")},
                   });
    db().exec(QStringLiteral("INSERT INTO MST_SIZ(SIZE_KEY, HAN_NO) VALUES ('S-NOPLATE', ''), "
                             "('S-OK', 'H-01')"));
    session.setImportDate(QStringLiteral("20261208"));
    auto screen = open<SizePlateScreen>(session);
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("サイズ版チェック"));
    EXPECT_EQ(screen->model()->headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("サイズキー"));
    // In number order: TK-1000 after TK-999.
    EXPECT_EQ(rows(*screen),
              QStringList({QStringLiteral("TK-999|S-NOPLATE"), QStringLiteral("TK-1000|S-NONE")}));
}

TEST_P(ErrorListScreensTest, PrintingRefusesAPrinterThatIsNotInstalled)
{
    addFinding(db(), QStringLiteral("20261208"), 1, 1, QStringLiteral("x"));
    auto screen = open<ErrorListScreen>(session);
    setDefaultPrinter(QStringLiteral("前のプリンタ"));
    session.setListPrinter(QStringLiteral("NoSuchPrinter"));
    printMenu(*screen)->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("プリンタ設定が間違っています。"));
    EXPECT_EQ(dialogs.last().title, QStringLiteral("エラー"));
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(appPrinters().current(), QStringLiteral("前のプリンタ"));
    EXPECT_TRUE(QDir(dir() + QStringLiteral("/print")).entryList(QDir::Files).isEmpty());
    setDefaultPrinter(QString());
}

TEST_P(ErrorListScreensTest, PrintingToThePdfPrinterWritesHeaderHeadingsRowsAndPageNumbers)
{
    for (int ln = 1; ln <= 90; ++ln)
        addFinding(db(), QStringLiteral("20261208"), ln, 1,
                   QStringLiteral("品質キーが未登録です。"));
    auto screen = open<ErrorListScreen>(session);
    setDefaultPrinter(QStringLiteral("前のプリンタ"));
    session.setListPrinter(Printers::pdfPrinterName());
    bool seen = false;
    QString caption;
    printFromPreviewWhenShown(&seen, &caption);
    printMenu(*screen)->trigger();
    EXPECT_TRUE(seen);
    // Caption and page indicator of the preview; 90 findings fill more than one page.
    EXPECT_TRUE(caption.startsWith(QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ|ﾍﾟｰｼﾞ 1 / ")))
        << caption.toStdString();
    EXPECT_FALSE(caption.endsWith(QStringLiteral(" / 1")));
    EXPECT_FALSE(caption.endsWith(QStringLiteral(" / 0")));
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join(u'\n').toStdString();
    EXPECT_EQ(appPrinters().current(), QStringLiteral("前のプリンタ"));
    setDefaultPrinter(QString());

    ASSERT_EQ(opened.size(), 1);
    const QString pdf = opened[0];
    EXPECT_TRUE(pdf.startsWith(dir() + QStringLiteral("/print/")));
    EXPECT_TRUE(pdf.endsWith(QStringLiteral(".pdf")));
    const int pages = pdfPages(pdf);
    ASSERT_GE(pages, 2);
    for (int page = 1; page <= pages; ++page) {
        const QString text = pdfText(pdf, page);
        EXPECT_TRUE(text.contains(QStringLiteral("《オステラエラー印刷》"))) << page;
        EXPECT_TRUE(text.contains(QStringLiteral("2026/12/08"))) << page; // the day it lists
        EXPECT_TRUE(text.contains(QStringLiteral("ﾍﾟｰｼﾞ: %1").arg(page))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("管理No"))) << page; // headings on every page
        EXPECT_TRUE(text.contains(QStringLiteral("内容2"))) << page;
        EXPECT_FALSE(text.contains(QStringLiteral("IMP_DATE"))) << page; // hidden columns
    }
    const QString all = pdfText(pdf);
    EXPECT_TRUE(all.contains(QStringLiteral("AB-001")));
    EXPECT_TRUE(all.contains(QStringLiteral("AB-090")));
    EXPECT_EQ(all.count(QStringLiteral("品質キーが未登録です。")), 90);
}

TEST_P(ErrorListScreensTest, PrintingADayWithoutFindingsGivesOnePageOfHeadings)
{
    auto screen = open<ErrorListScreen>(session);
    EXPECT_EQ(screen->model()->rowCount(), 0);
    session.setListPrinter(Printers::pdfPrinterName());
    bool seen = false;
    QString caption;
    printFromPreviewWhenShown(&seen, &caption);
    printMenu(*screen)->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(pdfPages(opened[0]), 1);
    const QString text = pdfText(opened[0]);
    EXPECT_TRUE(text.contains(QStringLiteral("《オステラエラー印刷》")));
    EXPECT_TRUE(text.contains(QStringLiteral("ﾍﾟｰｼﾞ: 1")));
    EXPECT_TRUE(text.contains(QStringLiteral("管理No")));
    EXPECT_TRUE(text.contains(QStringLiteral("内容1")));
}

TEST_P(ErrorListScreensTest, RecheckRemovesFindingsFixedInTheMastersMeanwhile)
{
    addLines(db(), {{QStringLiteral("20261208"), 1, QStringLiteral("TK-001"), QStringLiteral("0"),
                     QStringLiteral("Q-NEW"), QStringLiteral("S-1")},
                    {QStringLiteral("20261207"), 1, QStringLiteral("TK-009"), QStringLiteral("0"),
                     QStringLiteral("Q-NEW"), QStringLiteral("S-1")}});
    ASSERT_EQ(checkDay(db(), dialogs, progress, QStringLiteral("20261208")), Outcome::Done);
    ASSERT_EQ(checkDay(db(), dialogs, progress, QStringLiteral("20261207")), Outcome::Done);
    const QString qualityFinding = QStringLiteral("Q-NEWが品質マスタ未登録です。");
    auto findings = [&](const QString &day) {
        QStringList texts;
        for (const QSqlRecord &r :
             db().rows(QStringLiteral("SELECT ERR2 FROM TBL_ERR WHERE IMP_DATE = :d"),
                       {{QStringLiteral("d"), day}}))
            texts << r.value(0).toString();
        return texts;
    };
    ASSERT_TRUE(findings(QStringLiteral("20261208")).contains(qualityFinding));
    const int before = findings(QStringLiteral("20261208")).size();

    // The quality is registered; the re-check of the day picks it up.
    db().exec(QStringLiteral("INSERT INTO MST_QUL(QUL_KEY) VALUES('Q-NEW')"));
    dialogs.clear();
    registerAllScreens();
    auto *screen = qobject_cast<RecheckScreen *>(ScreenRegistry::instance().show<RecheckScreen>());
    ASSERT_NE(screen, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("エラー処理実行"));
    EXPECT_EQ(screen->importDateEdit->text(), QStringLiteral("20261208"));
    QPointer<RecheckScreen> alive(screen);
    QTest::keyClick(screen, Qt::Key_Return); // OK
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    const QStringList after = findings(QStringLiteral("20261208"));
    ASSERT_FALSE(after.isEmpty());
    // The message ends with what is left to do.
    EXPECT_EQ(dialogs.texts(),
              QStringList{
                  QStringLiteral("完了しました。\n残りのエラー %1 件（1 行）").arg(after.size())});
    EXPECT_EQ(dialogs.last().icon, Icon::None);
    EXPECT_TRUE(alive.isNull()); // closed after the message
    EXPECT_FALSE(after.contains(qualityFinding));
    EXPECT_EQ(after.size(), before - 1);
    // Only the picked day was checked again.
    EXPECT_TRUE(findings(QStringLiteral("20261207")).contains(qualityFinding));

    // The error list opened afterwards shows the new findings.
    auto list = open<ErrorListScreen>(session);
    EXPECT_EQ(list->model()->rowCount(), after.size());
    ScreenRegistry::instance().clear();
}

TEST_P(ErrorListScreensTest, RecheckCancelClosesWithoutChecking)
{
    addLines(db(), {{QStringLiteral("20261208"), 1, QStringLiteral("TK-001"), QStringLiteral("0"),
                     QStringLiteral("Q-NEW"), QStringLiteral("S-1")}});
    auto screen = std::make_unique<RecheckScreen>(session);
    screen->show();
    QTest::keyClick(screen.get(), Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
    screen->show();
    screen->cancelButton->click();
    EXPECT_FALSE(screen->isVisible());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(count(QStringLiteral("TBL_ERR")), 0);
}
