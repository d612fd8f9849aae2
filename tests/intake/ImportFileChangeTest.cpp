// The import reads the order file twice (groups first, then the numbered rows): a file that
// another program rewrites in between must not be numbered from its old groups.
#include "DbTest.h"
#include "OrderFileBuilder.h"
#include "OrderTestMasters.h"

#include "ImportRun.h"

#include <QFile>

namespace {

// Rewrites the file when the numbering starts, between the two readings.
class RewritingProgress : public RecordingProgress {
public:
    QString path;
    QByteArray replacement;

    void start(const QString &title, int total) override
    {
        RecordingProgress::start(title, total);
        if (title != QStringLiteral("管理番号...") || replacement.isNull())
            return;
        QFile out(path);
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(replacement);
    }
};

} // namespace

class ImportFileChangeTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        loadTestMasters(db());
    }

    bool importWhileRewriting(const QByteArray &before, const QByteArray &after)
    {
        RewritingProgress rewriting;
        rewriting.path = path("order.txt");
        rewriting.replacement = after;
        QFile out(rewriting.path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(before);
        out.close();
        return ImportRun(db(), dialogs, rewriting)
            .run({rewriting.path, "20261208", "2026", "12", QDate(2026, 12, 8)});
    }
};
INSTANTIATE_ENGINES(ImportFileChangeTest);

TEST_P(ImportFileChangeTest, AFileChangedBetweenTheReadingsIsRefusedAndLeavesNothing)
{
    const QList<OrderLine> lines{OrderLine(), OrderLine().set("LOT_NO", "JZ00002")};
    const QList<OrderLine> changed{OrderLine(), OrderLine().set("LOT_NO", "JZ00003")};
    const QList<OrderLine> shorter{OrderLine()};
    for (const QByteArray &after : {orderFile(changed), orderFile(shorter)}) {
        dialogs.clear();
        EXPECT_FALSE(importWhileRewriting(orderFile(lines), after));
        ASSERT_EQ(dialogs.messages().size(), 2);
        EXPECT_TRUE(dialogs.messages().first().startsWith("ファイルを読み込めません: "));
        EXPECT_EQ(dialogs.messages().last(), "エラー終了しました。");
        EXPECT_EQ(count("WRK_ORDER"), 0);
        EXPECT_EQ(count("TBL_ORDER"), 0);
        EXPECT_EQ(count("SYS_KNR_NO"), 0);
        EXPECT_EQ(count("SYS_IMPDATE"), 0);
    }
    // The same bytes written again are no change.
    dialogs.clear();
    EXPECT_TRUE(importWhileRewriting(orderFile(lines), orderFile(lines)));
    EXPECT_EQ(count("TBL_ORDER"), 2);
}
