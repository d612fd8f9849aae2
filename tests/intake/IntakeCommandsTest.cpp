#include "DbTest.h"
#include "OrderFileBuilder.h"
#include "OrderTestMasters.h"

#include <QFile>

class IntakeCommandsTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        loadTestMasters(db());
    }

    QString writeFile(const QByteArray &bytes)
    {
        const QString file = path("order's file.txt");
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return file;
    }
};
INSTANTIATE_ENGINES(IntakeCommandsTest);

TEST_P(IntakeCommandsTest, ImportChecksAndListsTheFindingsOfADay)
{
    db().exec("INSERT INTO MST_SIZ(SIZE_KEY) VALUES('M0209')");
    const QString file = writeFile(orderFile(
        {OrderLine(), OrderLine().set("ROW", "09"), OrderLine().set("QUL_KEY", "Q\tX1")}));
    const Run imported = runOstera({"import", file, "--date", "20261207"});
    EXPECT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.err.contains("ファイル取込..."));
    EXPECT_TRUE(imported.err.contains("エラーチェック処理を開始します。"));
    EXPECT_TRUE(imported.err.contains("処理は終了しました。 取込 3 行、エラー 3 件（2 行）"));
    EXPECT_EQ(count("TBL_ORDER", "IMP_DATE = '20261207'"), 3);

    const Run errors = runOstera({"errors", "20261207"});
    EXPECT_EQ(errors.status, 0);
    EXPECT_EQ(errors.out, "20261207\t2\t1\tTK-001\tTARVOLINサイズマスタに未登録です\t"
                          "ROW=09,サイズ区分=M02\n"
                          "20261207\t2\t2\tTK-001\tROWマスタに未登録です\tROW=09\n"
                          "20261207\t3\t1\tTK-001\tQ\\tX1が品質マスタ未登録です。\t\n");

    db().exec("INSERT INTO MST_ROW(ROW) VALUES('09')");
    const Run checked = runOstera({"check", "20261207"});
    EXPECT_EQ(checked.status, 0) << checked.err.toStdString();
    EXPECT_TRUE(checked.err.contains("完了しました。 残りのエラー 2 件（2 行）"));
    EXPECT_EQ(runOstera({"errors", "20261207"}).out.count('\n'), 2);

    // The same day again is refused and changes nothing.
    const Run again = runOstera({"import", file, "--date", "20261207"});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("指定された日付(20261207)は既に読み込まれています。"));
    EXPECT_EQ(count("TBL_ORDER"), 3);
}

TEST_P(IntakeCommandsTest, ImportDefaultsToTodayAndRefusesWithoutAnOpenMonth)
{
    const QString file = writeFile(orderFile({OrderLine()}));
    db().exec("UPDATE SYS_TUKI SET KAKUTEI_FLG = '1'");
    const Run refused = runOstera({"import", file});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("月次業務設定がされていません。"));
    EXPECT_EQ(count("TBL_ORDER"), 0);

    db().exec("UPDATE SYS_TUKI SET KAKUTEI_FLG = '0'");
    const Run done = runOstera({"import", file});
    EXPECT_EQ(done.status, 0) << done.err.toStdString();
    EXPECT_EQ(count("SYS_IMPDATE", "IMP_DATE = '20261208'"), 1); // the fixed clock's day
}

TEST_P(IntakeCommandsTest, RefusalsAndBadUsage)
{
    QByteArray bad = orderFile({OrderLine(), OrderLine().set("SU", "x")});
    const Run refused = runOstera({"import", writeFile(bad), "--date", "20261208"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("取込ファイルの2件目: 数量が数値ではありません。"));
    EXPECT_TRUE(refused.err.contains("エラー終了しました。"));
    EXPECT_EQ(count("SYS_IMPDATE"), 0);

    EXPECT_EQ(runOstera({"import", path("missing.txt")}).status, 1);
    EXPECT_EQ(runOstera({"import"}).status, 2);
    EXPECT_EQ(runOstera({"import", writeFile(bad), "--date", "2026128"}).status, 2);
    EXPECT_EQ(runOstera({"check"}).status, 2);
    const Run unknown = runOstera({"check", "20260101"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.err.contains("レコードがありません。"));
    EXPECT_EQ(runOstera({"errors", "20260101"}).status, 1);
}
