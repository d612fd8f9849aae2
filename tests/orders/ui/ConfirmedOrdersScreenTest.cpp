#include "ConfirmedOrdersScreen.h"
#include "../OrderLinesFixture.h"
#include "FunctionKeyLabel.h"
#include "GridView.h"
#include "PagedQueryModel.h"
#include "ScreenRegistry.h"
#include "ScreenTest.h"
#include "globals.h"

#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace OrderLinesFixture;

namespace {
QString unzipMember(const QString &file, const QString &member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, member});
    unzip.waitForFinished(30000);
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

QStringList items(const QComboBox *combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}
} // namespace

class ConfirmedOrdersScreenTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Line l;
        l.flg4 = QStringLiteral("1");
        l.b2 = QStringLiteral("2026/12/09 17:00:00");
        const QList<std::tuple<QString, int, QString, QString, QString>> lines = {
            {"20261208", 2, "AB-002", "2026/12/20", "東工場"},
            {"20261208", 1, "AB-001", "2026/12/10", "東工場"},
            {"20261130", 1, "CD-001", "2026/11/30", "南工場"}};
        for (const auto &[date, ln, knr, setDate, rnm] : lines) {
            l.impDate = date;
            l.ln = ln;
            l.knrNo = knr;
            l.setDate = setDate;
            l.fcRnm = rnm;
            add(db(), l);
        }
        l.impDate = QStringLiteral("20261209"); // confirmed lines only
        l.flg4 = QStringLiteral("0");
        l.setDate = QStringLiteral("2026/12/31");
        add(db(), l);
        db().exec("INSERT INTO MST_CAR(CAR_CD) VALUES('B')");
        db().exec("INSERT INTO MST_CAR(CAR_CD) VALUES('A')");
    }
    ConfirmedOrdersScreen *open()
    {
        auto *screen = static_cast<ConfirmedOrdersScreen *>(
            ScreenRegistry::instance().show<ConfirmedOrdersScreen>());
        screen->activateWindow();
        QApplication::processEvents();
        return screen;
    }
    QStringList shownKnrNos(ConfirmedOrdersScreen *screen)
    {
        QStringList list;
        for (int r = 0; r < screen->model()->rowCount(); ++r)
            list << screen->model()->text(r, 10);
        return list;
    }
};
INSTANTIATE_SCREEN_TEST(ConfirmedOrdersScreenTest);

TEST_P(ConfirmedOrdersScreenTest, OpensWithFilledListsAndAnEmptyGrid)
{
    ConfirmedOrdersScreen *screen = open();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("確定済み参照"));
    EXPECT_EQ(screen->model()->rowCount(), 0);
    EXPECT_EQ(screen->model()->columnCount(), 33);
    EXPECT_TRUE(screen->statement.isEmpty());
    EXPECT_EQ(items(screen->importDateCombo), QStringList({"20261130", "20261208"}));
    EXPECT_EQ(items(screen->setDateToCombo),
              QStringList({"2026/11/30", "2026/12/10", "2026/12/20"}));
    EXPECT_EQ(items(screen->productionMonthCombo).size(), 12);
    EXPECT_EQ(items(screen->productionMonthCombo).first(), QStringLiteral("01"));
    EXPECT_EQ(items(screen->nameTypeCombo), QStringList({"A", "B"}));
    EXPECT_TRUE(screen->importDateCombo->currentText().isEmpty());
    const QStringList captions = {"終了", "", "", "表示", "", "", "", "", "", "", "", "EXCEL"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(screen->functionKeyLabel(i)->text(), captions[i]) << i;

    // The designed layout stays as it is.
    const QSize designed = screen->size();
    screen->resize(designed + QSize(200, 200));
    QApplication::processEvents();
    EXPECT_EQ(screen->size(), designed);
}

TEST_P(ConfirmedOrdersScreenTest, F4ShowsTheConfirmedLinesOfTheFilters)
{
    ConfirmedOrdersScreen *screen = open();
    QTest::keyClick(screen->importDateCombo, Qt::Key_F4);
    EXPECT_EQ(shownKnrNos(screen), QStringList({"CD-001", "AB-001", "AB-002"}));
    EXPECT_EQ(screen->gridView->toolTip(), QStringLiteral("3"));
    EXPECT_EQ(screen->model()->text(0, 17), QStringLiteral("南工場")); // 略名: FC_RNM
    EXPECT_EQ(screen->model()->text(0, 32), QStringLiteral("2026/12/09 17:00:00"));
    EXPECT_TRUE(screen->gridView->isColumnHidden(0));

    screen->setDateToCombo->setEditText(QStringLiteral("2026/12/10"));
    QTest::keyClick(screen->setDateToCombo, Qt::Key_F4);
    EXPECT_TRUE(
        screen->statement.contains(QStringLiteral("And SET_DATE <= '2026/12/10' Order By")));
    EXPECT_FALSE(screen->statement.contains(QStringLiteral(">=")));
    EXPECT_EQ(shownKnrNos(screen), QStringList({"CD-001", "AB-001"}));

    screen->setDateToCombo->setEditText(QString());
    screen->importDateCombo->setEditText(QStringLiteral("20261208"));
    screen->productNumberCombo->setEditText(
        QStringLiteral("O'Neil")); // finds nothing, breaks nothing
    QTest::keyClick(screen->importDateCombo, Qt::Key_F4);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(screen->model()->rowCount(), 0);
}

TEST_P(ConfirmedOrdersScreenTest, F12ExportsTheGridsLinesUnderTheJapaneseHeadings)
{
    ConfirmedOrdersScreen *screen = open();
    QTest::keyClick(screen->importDateCombo, Qt::Key_F12); // nothing shown yet: nothing exported
    EXPECT_TRUE(opened.isEmpty());

    screen->importDateCombo->setEditText(QStringLiteral("20261208"));
    QTest::keyClick(screen->importDateCombo, Qt::Key_F4);
    QTest::keyClick(screen->importDateCombo, Qt::Key_F12);
    ASSERT_EQ(opened.size(), 1);
    // Texts are in the shared strings or inline in the sheet, as the writer chooses.
    const QString sheet = unzipMember(opened[0], QStringLiteral("xl/worksheets/sheet1.xml"));
    const QString strings = unzipMember(opened[0], QStringLiteral("xl/sharedStrings.xml")) + sheet;
    for (const char *heading : {"処理日", "管理No", "ロットNO", "略号", "COL", "S_END", "確定日"})
        EXPECT_TRUE(strings.contains(QStringLiteral("<t>") + QString::fromUtf8(heading) +
                                     QStringLiteral("</t>")))
            << heading;
    EXPECT_TRUE(strings.contains(QStringLiteral("AB-002")));
    EXPECT_FALSE(strings.contains(QStringLiteral("CD-001")));
    EXPECT_EQ(sheet.count(QRegularExpression(QStringLiteral("<row "))), 3); // headings + 2 lines
}
