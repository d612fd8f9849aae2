#include "../OrderFileBuilder.h"
#include "../OrderTestMasters.h"
#include "DbTest.h"

#include "AllScreens.h"
#include "FileOpen.h"
#include "ImportScreen.h"
#include "ScreenRegistry.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

// Records whether the screen's buttons were usable while the run reported progress.
class WatchingProgress : public Progress {
public:
    std::function<void()> onStart;
    void start(const QString &, int) override
    {
        if (onStart)
            onStart();
    }
    void step(int) override {}
    void note(const QString &) override {}
    void finish() override {}
};

} // namespace

class ImportScreenTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        loadTestMasters(db());
    }
    void TearDown() override
    {
        screen.reset();
        setFileOpenDialog(nullptr);
        DbTest::TearDown();
    }

    ImportScreen &open()
    {
        screen = std::make_unique<ImportScreen>(session);
        screen->show();
        screen->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(screen.get()));
        return *screen;
    }

    QString writeFile(const QByteArray &bytes)
    {
        const QString file = path("order's 2026-12.txt");
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        return file;
    }

    // Types the path and presses Enter twice: the file field moves on to OK, OK runs.
    void importByKeys(const QString &file)
    {
        screen->fileEdit->setFocus();
        screen->fileEdit->clear();
        QTest::keyClicks(screen->fileEdit, file);
        QTest::keyClick(screen->fileEdit, Qt::Key_Return);
        ASSERT_TRUE(screen->okButton->hasFocus());
        QTest::keyClick(screen->okButton, Qt::Key_Return);
    }

    std::unique_ptr<ImportScreen> screen;
};
INSTANTIATE_SCREEN_TEST(ImportScreenTest);

TEST_P(ImportScreenTest, WithoutAnOpenMonthOnlyCancelAndDeleteRemain)
{
    db().exec("DELETE FROM SYS_TUKI");
    ImportScreen &s = open();
    EXPECT_EQ(dialogs.messages(), QStringList({"月次業務設定がされていません。"}));
    EXPECT_EQ(dialogs.shown.first().icon, Icon::Error);
    EXPECT_FALSE(s.okButton->isEnabled());
    EXPECT_TRUE(s.cancelButton->isEnabled());
    EXPECT_TRUE(s.deleteAllButton->isEnabled());
    EXPECT_EQ(s.yearEdit->text(), "");
    EXPECT_EQ(s.monthEdit->text(), "");
    s.fileEdit->setText(writeFile(orderFile({OrderLine()})));
    s.okButton->click();
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(count("TBL_ORDER"), 0);
}

TEST_P(ImportScreenTest, ImportsTheDayByKeysAndCloses)
{
    ImportScreen &s = open();
    EXPECT_EQ(s.windowTitle(), "Import");
    EXPECT_EQ(s.yearEdit->text(), "2026");
    EXPECT_EQ(s.monthEdit->text(), "12");
    EXPECT_EQ(s.importDateEdit->text(), "20261208");
    EXPECT_TRUE(dialogs.shown.isEmpty());

    importByKeys(writeFile(orderFile({OrderLine(), OrderLine().set("ROW", "09")})));
    // The closing message says what the day received and what the check found on it.
    const int linesWithFindings = count("TBL_ORDER", "FLG1 = '1'");
    EXPECT_EQ(dialogs.messages(),
              QStringList({"エラーチェック処理を開始します。",
                           QStringLiteral("処理は終了しました。\n取込 2 行、エラー 3 件（%1 行）")
                               .arg(linesWithFindings)}));
    EXPECT_EQ(dialogs.shown.at(0).icon, Icon::None);
    EXPECT_EQ(dialogs.shown.at(1).icon, Icon::Information);
    EXPECT_FALSE(s.isVisible());
    EXPECT_EQ(count("TBL_ORDER", "IMP_DATE = '20261208'"), 2);
    EXPECT_EQ(count("SYS_IMPDATE", "IMP_DATE = '20261208'"), 1);
    EXPECT_EQ(count("TBL_ERR"), 3);
}

TEST_P(ImportScreenTest, RefusalsKeepTheScreenOpenWithItsFields)
{
    ImportScreen &s = open();
    importByKeys(path("missing.txt"));
    EXPECT_EQ(dialogs.messages(),
              QStringList({"ファイルが見つかりません。", "エラー終了しました。"}));
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(s.fileEdit->text(), path("missing.txt"));

    const QString file = writeFile(orderFile({OrderLine(), OrderLine().set("SU", "1 0")}));
    dialogs.clear();
    importByKeys(file);
    EXPECT_EQ(dialogs.messages(), QStringList({"取込ファイルの2件目: 数量が数値ではありません。",
                                               "エラー終了しました。"}));
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(count("TBL_ORDER"), 0);
    EXPECT_EQ(count("SYS_KNR_NO"), 0);

    // Corrected at once, the same screen imports the day; the same date again is refused.
    writeFile(orderFile({OrderLine(), OrderLine()}));
    dialogs.clear();
    importByKeys(file);
    EXPECT_FALSE(s.isVisible());
    open();
    dialogs.clear();
    importByKeys(file);
    EXPECT_EQ(dialogs.messages(),
              QStringList({"指定された日付(20261208)は既に読み込まれています。\r\n"
                           "違う日付を指定するか、明日行ってください。",
                           "エラー終了しました。"}));
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(count("TBL_ORDER"), 2);
}

TEST_P(ImportScreenTest, AFailingCheckStillRegistersTheDay)
{
    db().exec("DROP TABLE MST_ROW");
    open();
    importByKeys(writeFile(orderFile({OrderLine()})));
    EXPECT_EQ(dialogs.messages(),
              QStringList({"エラーチェック処理を開始します。", dialogs.messages().at(1),
                           "ROWマスタチェック中にエラーが発生", dialogs.messages().at(3)}));
    EXPECT_TRUE(dialogs.messages().at(3).startsWith("処理は終了しました。\n取込 1 行"));
    EXPECT_EQ(dialogs.shown.at(1).icon, Icon::Error); // the database's own text
    EXPECT_EQ(count("SYS_IMPDATE", "IMP_DATE = '20261208'"), 1);
    EXPECT_FALSE(screen->isVisible());
}

TEST_P(ImportScreenTest, ButtonsAreDisabledWhileTheRunWorks)
{
    WatchingProgress watching;
    QStringList seen;
    ImportScreen &s = open();
    watching.onStart = [&] {
        seen << QStringLiteral("%1%2%3%4")
                    .arg(s.okButton->isEnabled())
                    .arg(s.cancelButton->isEnabled())
                    .arg(s.deleteAllButton->isEnabled())
                    .arg(s.browseButton->isEnabled());
        s.okButton->click(); // a second click while running starts nothing
        s.close();           // nor does the window close under the run
    };
    setAppProgress(&watching);
    importByKeys(writeFile(orderFile({OrderLine()})));
    setAppProgress(&progress);
    ASSERT_FALSE(seen.isEmpty());
    for (const QString &state : seen)
        EXPECT_EQ(state, "0000");
    EXPECT_EQ(count("TBL_ORDER"), 1);
    EXPECT_EQ(dialogs.messages().filter("処理は終了しました。").size(), 1);
}

TEST_P(ImportScreenTest, BrowseStartsWhereTheOrderFilesAreAndMovesOnToOk)
{
    QStringList asked;
    std::optional<QString> answer = path("incoming/20261208.txt");
    ASSERT_TRUE(QDir(dir()).mkpath("incoming"));
    ASSERT_TRUE(QDir(dir()).mkpath("orders"));
    setFileOpenDialog(
        [&](QWidget *, const QString &title, const QString &initial, const QString &filter) {
            asked << title << initial << filter;
            return answer;
        });
    ImportScreen &s = open();
    s.browseButton->setFocus();
    QTest::keyClick(s.browseButton, Qt::Key_Return);
    EXPECT_EQ(asked, QStringList({"取込ファイル", path("orders"), "txtファイル (*.txt)"}));
    EXPECT_EQ(s.fileEdit->text(), path("incoming/20261208.txt"));
    EXPECT_EQ(s.focusWidget(), s.okButton); // Enter now imports
    answer = std::nullopt;
    s.browseButton->click();
    EXPECT_EQ(s.fileEdit->text(), path("incoming/20261208.txt"));
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // The next import of the session starts in the folder used last.
    asked.clear();
    ImportScreen &again = open();
    again.browseButton->click();
    ASSERT_EQ(asked.size(), 3);
    EXPECT_EQ(asked.at(1), path("incoming"));
}

TEST_P(ImportScreenTest, AllDeleteNeedsYesAndThePassword)
{
    open();
    importByKeys(writeFile(orderFile({OrderLine().set("ROW", "09")})));
    db().exec("INSERT INTO WRK_RPT(IMP_DATE, IMP_LN) VALUES('20261208', 1)");
    ImportScreen &s = open();

    dialogs.clear();
    dialogs.answers = {false};
    s.deleteAllButton->click();
    EXPECT_EQ(dialogs.texts(), QStringList({"All Delete?"}));
    EXPECT_EQ(dialogs.shown.first().icon, Icon::Question);
    EXPECT_EQ(count("TBL_ORDER"), 1);

    for (const std::optional<QString> &typed :
         {std::optional<QString>("tolmark"), std::optional<QString>()}) {
        dialogs.clear();
        dialogs.answers = {true};
        dialogs.inputs = {typed};
        s.deleteAllButton->click();
        EXPECT_EQ(dialogs.texts(), QStringList({"All Delete?", "pass word?", "No Match!"}));
        EXPECT_EQ(count("TBL_ORDER"), 1);
    }

    dialogs.clear();
    dialogs.answers = {true};
    dialogs.inputs = {QStringLiteral("TOLMARK")};
    s.deleteAllButton->setFocus();
    QTest::keyClick(s.deleteAllButton, Qt::Key_Return);
    EXPECT_EQ(dialogs.texts(), QStringList({"All Delete?", "pass word?"}));
    for (const char *table :
         {"TBL_ORDER", "SYS_IMPDATE", "SYS_KNR_NO", "TBL_ERR", "WRK_RPT", "WRK_CSV_C", "WRK_CSV_H"})
        EXPECT_EQ(count(table), 0) << table;
    EXPECT_EQ(count("MST_ROW"), 1);
    EXPECT_EQ(count("SYS_TUKI"), 1);
    EXPECT_TRUE(s.isVisible());
    // The deleted line stays in the audit trail, with who deleted it.
    const auto trail = db().rows("SELECT COL_NM, CHANGE_KBN, OLD_VALUE FROM TBL_ORDER_LOG");
    ASSERT_EQ(trail.size(), 1);
    EXPECT_EQ(trail[0].value(0).toString(), "*");
    EXPECT_EQ(trail[0].value(1).toString(), "全削除");
    EXPECT_FALSE(trail[0].value(2).toString().isEmpty());

    // Numbering starts again at 001.
    dialogs.clear();
    importByKeys(writeFile(orderFile({OrderLine()})));
    EXPECT_EQ(db().scalar("SELECT KNR_NO FROM TBL_ORDER").toString(), "TK-001");
}

TEST_P(ImportScreenTest, EscapeClosesAndTheScreenIsRegistered)
{
    ImportScreen &s = open();
    QTest::keyClick(s.importDateEdit, Qt::Key_Escape);
    EXPECT_FALSE(s.isVisible());

    registerAllScreens();
    EXPECT_TRUE(ScreenRegistry::instance().has("frmOrd_Imp"));
    EXPECT_TRUE(ScreenRegistry::instance().has("frmOrd_ErrView"));
}
