#include "HistoryFixture.h"

#include "Clock.h"
#include "PrintRequest.h"
#include "ReportEngine.h"
#include "ReportLists.h"
#include "RunReprint.h"
#include "globals.h"

#include <QDir>
#include <QFileInfo>

using namespace ConversionFixture;

class RunHistoryTest : public HistoryTest {
protected:
    // The run's state as "state by whom at when".
    QString stateOf(const QString &stamp)
    {
        const std::optional<RunRecord> run = RunList::find(db(), kDay, stamp);
        if (!run)
            return QStringLiteral("missing");
        return run->state + QStringLiteral(" by ") + run->stateUser + QStringLiteral(" at ") +
               run->stateTime;
    }

    QList<QStringList> print(const QString &kind, const ReportSource &source = {})
    {
        ReportEngine engine;
        engine.setRecording(true);
        PrintRequest request{db(), dialogs, progress, QStringLiteral("PDFファイル"), source};
        EXPECT_EQ(ReportLists::print(kind, engine, request), Outcome::Done)
            << dialogs.texts().join('|').toStdString();
        return printedPages(engine.pages());
    }

    QList<QStringList> reprint(const QString &kind, const QString &stamp)
    {
        ReportEngine engine;
        engine.setRecording(true);
        const PrintRequest request{db(), dialogs, progress, QStringLiteral("PDFファイル")};
        EXPECT_EQ(RunReprint::print(kind, engine, request, kDay, stamp), Outcome::Done)
            << dialogs.texts().join('|').toStdString();
        return printedPages(engine.pages());
    }
};
INSTANTIATE_ENGINES(RunHistoryTest);

TEST_P(RunHistoryTest, ACancelledRunStaysCancelledAndTheNextIsConfirmedWithTheDay)
{
    addLines(2);
    const ConversionResult first = convert();
    ASSERT_TRUE(first.converted()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(stateOf(first.stamp), QStringLiteral("変換済 by tester at 2026/12/08 10:00:00"));

    Clock::advance(90);
    gUserName = QStringLiteral("suzuki");
    ASSERT_EQ(cancel(), Outcome::Done);
    EXPECT_EQ(stateOf(first.stamp), QStringLiteral("取消 by suzuki at 2026/12/08 10:01:30"));

    Clock::advance(30);
    const ConversionResult second = convert();
    ASSERT_TRUE(second.converted());
    EXPECT_EQ(second.stamp, QStringLiteral("2026/12/08 10:02:00"));
    EXPECT_EQ(stateOf(second.stamp), QStringLiteral("変換済 by suzuki at 2026/12/08 10:02:00"));

    Clock::advance(60);
    gUserName = QStringLiteral("tanaka");
    ASSERT_EQ(confirm(), Outcome::Done);
    EXPECT_EQ(stateOf(first.stamp), QStringLiteral("取消 by suzuki at 2026/12/08 10:01:30"));
    EXPECT_EQ(stateOf(second.stamp), QStringLiteral("確定 by tanaka at 2026/12/08 10:03:00"));

    const QList<RunRecord> runs = RunList::runs(db(), kDay);
    ASSERT_EQ(runs.size(), 2);
    EXPECT_EQ(runs[0].stamp, second.stamp); // newest first
    EXPECT_EQ(runs[0].user, QStringLiteral("suzuki"));
    EXPECT_EQ(runs[1].user, QStringLiteral("tester"));
    EXPECT_TRUE(RunList::runs(db(), QStringLiteral("20261207")).isEmpty());
    // Both runs kept their own report rows.
    EXPECT_EQ(count("TBL_RUN_RPT"), 4);
}

TEST_P(RunHistoryTest, ARunKeepsItsConditionsCountsAndFiles)
{
    addLines(2);
    ConversionFixture::OrderLine art = letterpress(OrderLine());
    art.ln = 3;
    art.knrNo = QStringLiteral("AB-003");
    addLine(db(), art);
    gComputerName = QStringLiteral("DESK-2");
    ConversionInput input;
    input.impDate = kDay;
    input.setDateFrom = QStringLiteral("2026/12/01");
    input.setDateTo = QStringLiteral("2026/12/31");
    input.special = QStringLiteral("0");
    input.machine = Machine::Any;
    const ConversionResult result =
        ConversionRun(db(), dialogs, progress, session.outputFolders()).run(input);
    ASSERT_TRUE(result.converted()) << dialogs.texts().join('|').toStdString();

    const std::optional<RunRecord> run = RunList::find(db(), kDay, result.stamp);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->computer, QStringLiteral("DESK-2"));
    EXPECT_EQ(run->machine, QStringLiteral("指定無し"));
    EXPECT_EQ(run->setDateFrom + QLatin1Char('-') + run->setDateTo,
              QStringLiteral("2026/12/01-2026/12/31"));
    EXPECT_EQ(run->special, QStringLiteral("0"));
    EXPECT_EQ(
        QList<int>({run->orderCount, run->artworkRows, run->printRows, run->reportRows}),
        QList<int>({result.orderCount, result.artworkRows, result.printRows, result.reportRows}));
    EXPECT_EQ(run->orderCount, 3);

    // Every file the run wrote, each in its folder, and nothing else.
    QStringList written;
    for (const QString &folder : {session.folderSettings().car, session.folderSettings().han,
                                  session.folderSettings().stk, session.folderSettings().sht})
        for (const QString &name : filesIn(folder))
            written << QDir(folder).filePath(name);
    QStringList recorded = run->files;
    recorded.sort();
    written.sort();
    EXPECT_EQ(recorded, written);
    EXPECT_EQ(written.size(), 4); // AB-001.csv, 20261210_AB.csv, LSTK.csv, LSHT.csv
    EXPECT_EQ(RunList::folders(db(), kDay, result.stamp).size(), 4);

    // A letterpress run writes no thermal file and says which machine it was.
    Clock::advance(5);
    ConversionFixture::OrderLine more = letterpress(OrderLine());
    more.ln = 4;
    more.knrNo = QStringLiteral("AB-004");
    addLine(db(), more);
    const ConversionResult press = convert(Machine::Letterpress);
    ASSERT_TRUE(press.converted());
    const std::optional<RunRecord> pressRun = RunList::find(db(), kDay, press.stamp);
    ASSERT_TRUE(pressRun);
    EXPECT_EQ(pressRun->machine, QStringLiteral("凸版"));
    for (const QString &file : pressRun->files)
        EXPECT_NE(QFileInfo(file).absolutePath(),
                  QFileInfo(session.folderSettings().car).absoluteFilePath());
    EXPECT_EQ(pressRun->files.size(), 3);
}

TEST_P(RunHistoryTest, AStampOfACancelledRunIsNotGivenToTheNextRun)
{
    // The clock stands still: the lines no longer show the cancelled stamp, the history does.
    addLines(2);
    const ConversionResult first = convert();
    ASSERT_TRUE(first.converted());
    ASSERT_EQ(cancel(), Outcome::Done);
    const ConversionResult second = convert();
    ASSERT_TRUE(second.converted());
    EXPECT_EQ(first.stamp, QStringLiteral("2026/12/08 10:00:00"));
    EXPECT_EQ(second.stamp, QStringLiteral("2026/12/08 10:00:01"));
    EXPECT_EQ(RunList::runs(db(), kDay).size(), 2);
    EXPECT_EQ(count("TBL_RUN_RPT", "B1 = '2026/12/08 10:00:01'"), 2);
    EXPECT_FALSE(dialogs.texts().join('|').contains(QStringLiteral("履歴")));
}

TEST_P(RunHistoryTest, AFailedRunLeavesNoRecord)
{
    addLines(2);
    ConversionChecks checks = ConversionChecks::standard();
    checks.qualityCheck = [](Db &, Dialogs &) {
        return Outcome::Refused; // a quality key is missing
    };
    ConversionInput input;
    input.impDate = kDay;
    const ConversionResult result =
        ConversionRun(db(), dialogs, progress, session.outputFolders(), checks).run(input);
    EXPECT_FALSE(result.converted());
    EXPECT_EQ(count("TBL_RUN"), 0);
    EXPECT_EQ(count("TBL_RUN_RPT"), 0);
    EXPECT_EQ(entries(), 0);
}

TEST_P(RunHistoryTest, AReprintShowsTheRunAsItWasConvertedAfterLaterRuns)
{
    addLines(3);
    const ConversionResult first = convert();
    ASSERT_TRUE(first.converted());
    QHash<QString, QList<QStringList>> original;
    for (const QString &kind : ReportLists::kinds()) {
        original[kind] = print(kind);
        ASSERT_FALSE(original[kind].isEmpty()) << kind.toStdString();
    }

    // A later run of other lines replaces WRK_RPT.
    Clock::advance(3600);
    addLines(2, 10, QStringLiteral("CD"));
    const ConversionResult second = convert();
    ASSERT_TRUE(second.converted());
    ASSERT_EQ(count("WRK_RPT", "FC_RG = 'AB'"), 0);

    for (const QString &kind : ReportLists::kinds()) {
        const QList<QStringList> now = print(kind);
        EXPECT_NE(now, original[kind]) << kind.toStdString(); // the work table moved on
        EXPECT_EQ(reprint(kind, first.stamp), original[kind]) << kind.toStdString();
        EXPECT_EQ(reprint(kind, second.stamp), now) << kind.toStdString();
    }

    // A run that kept nothing is refused before a job starts.
    dialogs.clear();
    ReportEngine engine;
    const PrintRequest request{db(), dialogs, progress, QStringLiteral("PDFファイル")};
    EXPECT_EQ(RunReprint::print(QStringLiteral("OrderList"), engine, request, kDay,
                                QStringLiteral("2026/12/08 23:59:59")),
              Outcome::Refused);
    EXPECT_EQ(dialogs.messages(), QStringList{"レコードがありません。"});
    EXPECT_EQ(engine.pageCount(), 0);
}

TEST_P(RunHistoryTest, CommandsListRunsShowALinesChangesAndReprint)
{
    addLines(2);
    ASSERT_TRUE(convert().converted());
    ASSERT_EQ(cancel(), Outcome::Done);
    Clock::advance(60);
    ASSERT_TRUE(convert().converted());

    DbTest::Run runs = runOstera({QStringLiteral("runs")});
    ASSERT_EQ(runs.status, 0) << runs.err.toStdString();
    const QStringList lines = runs.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const QStringList newest = lines[0].split(QLatin1Char('\t'));
    ASSERT_EQ(newest.size(), 16);
    EXPECT_EQ(newest.mid(0, 6), (QStringList{"20261208", "2026/12/08 10:01:00", "変換済", "tester",
                                             "TESTPC", "指定無し"}));
    EXPECT_EQ(newest[9], QStringLiteral("2"));                      // lines converted
    EXPECT_TRUE(newest[15].contains(QStringLiteral("LSHT_1.csv"))); // beside the cancelled run's
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("20261208\t2026/12/08 10:00:00\t取消\t")));

    EXPECT_EQ(runOstera({QStringLiteral("runs"), kDay}).out, runs.out);
    const DbTest::Run none = runOstera({QStringLiteral("runs"), QStringLiteral("20261207")});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.contains(QStringLiteral("レコードがありません。")));

    const DbTest::Run history = runOstera({QStringLiteral("history"), kDay, QStringLiteral("1")});
    ASSERT_EQ(history.status, 0) << history.err.toStdString();
    const QStringList changes = history.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(changes.size(), 6); // converted, cancelled, converted: FLG3 and B1 each time
    EXPECT_EQ(changes[0], QStringLiteral("2026/12/08 10:00:00\ttester\tTESTPC\t変換\tFLG3\t0\t1"));
    EXPECT_EQ(changes[3], QStringLiteral("2026/12/08 10:00:00\ttester\tTESTPC\t変換取消\tB1\t"
                                         "2026/12/08 10:00:00\t"));
    EXPECT_EQ(runOstera({QStringLiteral("history"), kDay, QStringLiteral("99")}).status, 1);
    EXPECT_EQ(runOstera({QStringLiteral("history"), kDay}).status, 2);

    const DbTest::Run reprint = runOstera(
        {QStringLiteral("reprint"), QStringLiteral("2026/12/08 10:00:00"),
         QStringLiteral("OrderList"), QStringLiteral("--to"), QStringLiteral("PDFファイル")});
    ASSERT_EQ(reprint.status, 0) << reprint.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(reprint.out.trimmed())) << reprint.out.toStdString();
    EXPECT_EQ(runOstera({QStringLiteral("reprint"), QStringLiteral("2026/12/08 09:00:00"),
                         QStringLiteral("OrderList")})
                  .status,
              1);
    EXPECT_EQ(runOstera({QStringLiteral("reprint"), QStringLiteral("2026/12/08 10:00:00"),
                         QStringLiteral("QulMst")})
                  .status,
              2);
    EXPECT_TRUE(runOstera({QStringLiteral("--help")})
                    .out.contains(QStringLiteral("reprint STAMP OrderList|CarList|TotalList")));
}

TEST_P(RunHistoryTest, AStampSharedByRunsOfTwoDaysNeedsTheDateToReprint)
{
    addLines(1);
    ConversionFixture::OrderLine other;
    other.impDate = QStringLiteral("20261207");
    addLine(db(), other);
    ConversionFixture::registerDay(db(), QStringLiteral("20261207"));
    ASSERT_TRUE(convert().converted());
    ConversionInput input;
    input.impDate = QStringLiteral("20261207");
    ASSERT_TRUE(
        ConversionRun(db(), dialogs, progress, session.outputFolders()).run(input).converted());
    EXPECT_EQ(RunList::impDatesOf(db(), QStringLiteral("2026/12/08 10:00:00")),
              (QStringList{"20261207", "20261208"}));

    const QStringList base = {QStringLiteral("reprint"), QStringLiteral("2026/12/08 10:00:00"),
                              QStringLiteral("CarList")};
    const DbTest::Run ambiguous = runOstera(base);
    EXPECT_EQ(ambiguous.status, 2);
    EXPECT_TRUE(ambiguous.err.contains(QStringLiteral("--date"))) << ambiguous.err.toStdString();
    EXPECT_EQ(runOstera(QStringList(base) << QStringLiteral("--date") << QStringLiteral("20261207"))
                  .status,
              0);
    EXPECT_EQ(runOstera(QStringList(base) << QStringLiteral("--date") << QStringLiteral("20261201"))
                  .status,
              1);
}
