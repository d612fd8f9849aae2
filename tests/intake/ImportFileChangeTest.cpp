// The import reads the order file once, whole, before it takes its lock: a file that another
// program rewrites while the import numbers and stores it is imported exactly as it was read
// and checked, never numbered from one content and stored from another.
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

    bool importWhileRewriting(const QString &day, const QByteArray &before, const QByteArray &after)
    {
        RewritingProgress rewriting;
        rewriting.path = path("order.txt");
        rewriting.replacement = after;
        QFile out(rewriting.path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(before);
        out.close();
        return ImportRun(db(), dialogs, rewriting)
                   .run({rewriting.path, day, "2026", "12", QDate(2026, 12, 8)}) == Outcome::Done;
    }
};
INSTANTIATE_ENGINES(ImportFileChangeTest);

TEST_P(ImportFileChangeTest, AFileRewrittenWhileTheImportWorksIsImportedAsItWasRead)
{
    const QList<OrderLine> lines{OrderLine(), OrderLine().set("LOT_NO", "JZ00002")};
    const QList<OrderLine> changed{OrderLine(), OrderLine().set("LOT_NO", "JZ00003")};
    const QList<OrderLine> shorter{OrderLine()};
    const QList<OrderLine> refused{OrderLine(), OrderLine().set("SU", "x")};
    int day = 8;
    for (const QByteArray &after : {orderFile(changed), orderFile(shorter), orderFile(refused)}) {
        const QString date = QStringLiteral("202612%1").arg(day++, 2, 10, QLatin1Char('0'));
        dialogs.clear();
        EXPECT_TRUE(importWhileRewriting(date, orderFile(lines), after));
        EXPECT_TRUE(dialogs.messages().last().startsWith("処理は終了しました。"));
        const auto stored = db().rows("SELECT LOT_NO, KNR_NO FROM TBL_ORDER WHERE IMP_DATE = :d "
                                      "ORDER BY IMP_LN",
                                      {{"d", date}});
        ASSERT_EQ(stored.size(), 2);
        EXPECT_EQ(stored[1].value(0).toString(), "JZ00002");
        EXPECT_NE(stored[0].value(1).toString(), stored[1].value(1).toString());
    }
    // Two groups per day, each numbered once.
    EXPECT_EQ(db().scalar("SELECT KNR_NO FROM SYS_KNR_NO").toInt(), 6);
}
