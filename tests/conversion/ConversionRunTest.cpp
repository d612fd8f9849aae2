#include "ConditionText.h"
#include "ConversionFixture.h"
#include "DbTest.h"
#include "globals.h"

#include "Clock.h"
#include "ConversionCancel.h"
#include "ConversionRun.h"
#include "NameTypeMaster.h"
#include "OrderCheck.h"
#include "OrderLineStore.h"
#include "RunLock.h"

#include <QDir>
#include <QSqlQuery>

#include <atomic>
#include <thread>

using namespace ConversionFixture;

class ConversionRunTest : public ConversionDayTest {
protected:
    ConversionResult convert(const ConversionInput &input,
                             ConversionChecks checks = ConversionChecks::standard())
    {
        ConversionRun run(db(), dialogs, progress, session.outputFolders(), std::move(checks));
        return run.run(input);
    }

    static ConversionInput day(Machine machine = Machine::Any)
    {
        ConversionInput input;
        input.impDate = kDay;
        input.machine = machine;
        return input;
    }

    QString lineState(int ln, const QString &impDate = kDay)
    {
        const auto rows = db().rows(QStringLiteral("SELECT FLG2, FLG3, B1 FROM TBL_ORDER WHERE "
                                                   "IMP_DATE = :d AND IMP_LN = :ln"),
                                    {{QStringLiteral("d"), impDate}, {QStringLiteral("ln"), ln}});
        if (rows.isEmpty())
            return QStringLiteral("missing");
        return rows[0].value(0).toString() + rows[0].value(1).toString() + QLatin1Char(' ') +
               rows[0].value(2).toString();
    }

    int marked() { return count(QStringLiteral("TBL_ORDER"), QStringLiteral("FLG2 = '1'")); }
    int converted() { return count(QStringLiteral("TBL_ORDER"), QStringLiteral("FLG3 = '1'")); }
    int workRows()
    {
        return count(QStringLiteral("WRK_RPT")) + count(QStringLiteral("WRK_CSV_C")) +
               count(QStringLiteral("WRK_CSV_H"));
    }
};
INSTANTIATE_ENGINES(ConversionRunTest);

TEST_P(ConversionRunTest, ARunConvertsTheCleanLinesWritesEveryFileAndReportsItsCounts)
{
    OrderLine l;
    l.ln = 1;
    addLine(db(), l);
    l.ln = 2;
    l.row = QStringLiteral("04");
    l.su = 20;
    addLine(db(), l);
    OrderLine art = letterpress(l);
    art.ln = 3;
    art.knrNo = QStringLiteral("AB-002");
    art.lotNo = QStringLiteral("L0002");
    addLine(db(), art);
    OrderLine faulty = l;
    faulty.ln = 4;
    faulty.row = QStringLiteral("99"); // the error check marks it
    addLine(db(), faulty);
    OrderLine done = l;
    done.ln = 5;
    done.flg3 = QStringLiteral("1");
    done.b1 = QStringLiteral("2026/12/07 09:00:00");
    addLine(db(), done);
    OrderLine confirmed = l;
    confirmed.ln = 6;
    confirmed.flg4 = QStringLiteral("1");
    addLine(db(), confirmed);
    finishLines(db());

    const ConversionResult result = convert(day());

    ASSERT_TRUE(result.converted()) << dialogs.texts().join('|').toStdString();
    // The line with a finding stays out, and the question says so.
    EXPECT_EQ(dialogs.texts(),
              (QStringList{"変換しますか？", "3件変換します。\r\nエラーのある1件は"
                                             "変換されません。\r\n宜しいでしょうか？"}));
    EXPECT_EQ(conditionText(result.condition),
              QStringLiteral("Where TBL_ORDER.IMP_DATE = '20261208' And TBL_ORDER.FLG3 = '0' "
                             "And TBL_ORDER.FLG4 = '0' And TBL_ORDER.FLG1 = '0' "));
    EXPECT_EQ(result.stamp, QStringLiteral("2026/12/08 10:00:00"));
    EXPECT_EQ(result.report(), QStringLiteral("※※※変換結果報告※※※\r\n\r\n発注レコード件数：3\r\n"
                                              "ネーム版下件数：1\r\n印字データ件数：2\r\n"
                                              "レポート件数：3"));
    for (int ln : {1, 2, 3})
        EXPECT_EQ(lineState(ln), QStringLiteral("01 2026/12/08 10:00:00")) << ln;
    EXPECT_EQ(lineState(4), QStringLiteral("00 "));
    EXPECT_EQ(lineState(5), QStringLiteral("01 2026/12/07 09:00:00"));
    EXPECT_EQ(lineState(6), QStringLiteral("00 "));

    EXPECT_EQ(filesIn(session.folderSettings().car), QStringList{"AB-001.csv"});
    EXPECT_EQ(readCsv(QDir(session.folderSettings().car).filePath("AB-001.csv")).size(), 2);
    EXPECT_EQ(filesIn(session.folderSettings().han), QStringList{"20261210_AB.csv"});
    const QList<QStringList> seal =
        readCsv(QDir(session.folderSettings().stk).filePath("LSTK.csv"));
    ASSERT_EQ(seal.size(), 2);
    EXPECT_EQ(seal[0][3], QStringLiteral("30")); // sizes S and M of lot L0001 on one seal
    EXPECT_EQ(seal[0][11], QStringLiteral("10"));
    EXPECT_EQ(readCsv(QDir(session.folderSettings().sht).filePath("LSHT.csv")).size(), 3);

    EXPECT_TRUE(progress.titles.contains(QStringLiteral("変換...")));
    EXPECT_EQ(progress.lastTotal, 9);
    EXPECT_EQ(progress.lastStep, 9);
    EXPECT_FALSE(progress.active);
}

TEST_P(ConversionRunTest, TheMachineChoiceSelectsLinesAndLetterpressSkipsTheThermalWork)
{
    OrderLine thermal;
    addLine(db(), thermal);
    OrderLine art = letterpress(thermal);
    art.ln = 2;
    art.knrNo = QStringLiteral("AB-002");
    addLine(db(), art);
    exec(db(), QStringLiteral("WRK_CSV_C"), {{"KNR_NO", "OLD-001"}}); // an earlier run's data
    int qualityChecks = 0;
    ConversionChecks checks = ConversionChecks::standard();
    checks.qualityCheck = [&](Db &d, Dialogs &dl) {
        ++qualityChecks;
        return checkRunQualityKeys(d, dl);
    };

    const ConversionResult press = convert(day(Machine::Letterpress), checks);
    ASSERT_TRUE(press.converted()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(press.orderCount, 1);
    EXPECT_EQ(qualityChecks, 0);
    EXPECT_EQ(press.printRows, 1); // the table was left as it was, and is counted
    EXPECT_EQ(count("WRK_CSV_C", "KNR_NO = 'OLD-001'"), 1);
    EXPECT_TRUE(filesIn(session.folderSettings().car).isEmpty());
    EXPECT_EQ(lineState(1), QStringLiteral("00 "));
    EXPECT_EQ(lineState(2).left(2), QStringLiteral("01"));
    EXPECT_TRUE(
        conditionText(press.condition).endsWith(QStringLiteral("And TBL_ORDER.DATA_FLG = '0' ")));

    Clock::advance(60);
    const ConversionResult heat = convert(day(Machine::Thermal), checks);
    ASSERT_TRUE(heat.converted());
    EXPECT_EQ(heat.orderCount, 1);
    EXPECT_EQ(qualityChecks, 1);
    EXPECT_EQ(count("WRK_CSV_C"), 1);
    EXPECT_EQ(filesIn(session.folderSettings().car), QStringList{"AB-001.csv"});
    EXPECT_TRUE(
        conditionText(heat.condition).endsWith(QStringLiteral("And TBL_ORDER.DATA_FLG = '1' ")));
}

TEST_P(ConversionRunTest, BadConditionsAreRefusedBeforeAnyLineChanges)
{
    addLine(db(), OrderLine{});
    struct Case {
        QString from, to, special, message;
    };
    const QList<Case> cases = {
        {"2026/12/10", "", "", "セット日で指定する場合には範囲で指定してください。"},
        {"", "2026/12/10", "", "セット日で指定する場合には範囲で指定してください。"},
        {"2026/12/%", "", "", "セット日でライク検索は出来ません。"},
        {"2026/13/01", "2026/12/31", "", "セット日に入力された値が日付型でないです。"},
        {"2026/12/01", "12月31日", "", "セット日に入力された値が日付型でないです。"},
        {"", "", "%", "特定変換でライク検索は出来ません。"},
        {"", "", "2", "特定変換では'0'か'1'を指定してください。"},
        {"2026/12/01", "", "2", "特定変換では'0'か'1'を指定してください。"},
    };
    for (const Case &c : cases) {
        dialogs.clear();
        ConversionInput input = day();
        input.setDateFrom = c.from;
        input.setDateTo = c.to;
        input.special = c.special;
        const ConversionResult result = convert(input);
        EXPECT_EQ(result.outcome, Outcome::Refused) << c.message.toStdString();
        EXPECT_EQ(dialogs.last().text, c.message);
        EXPECT_EQ(dialogs.last().icon, Icon::Error);
        EXPECT_EQ(dialogs.count(Shown::Question), 1);
    }
    EXPECT_EQ(marked() + converted(), 0);
}

TEST_P(ConversionRunTest, SetDateRangeAndSpecialConversionNarrowTheSelection)
{
    OrderLine l;
    l.ln = 1;
    l.setDate = QStringLiteral("2026/12/10");
    addLine(db(), l);
    l.ln = 2;
    l.setDate = QStringLiteral("2026/12/20");
    addLine(db(), l);
    l.ln = 3;
    l.setDate = QStringLiteral("2026/12/10");
    l.flg5 = QStringLiteral("1");
    addLine(db(), l);

    ConversionInput input = day();
    input.setDateFrom = QStringLiteral("2026/12/10");
    input.setDateTo = QStringLiteral("2026/12/15");
    input.special = QStringLiteral("1");
    const ConversionResult special = convert(input);
    ASSERT_TRUE(special.converted());
    EXPECT_EQ(special.orderCount, 1);
    EXPECT_EQ(lineState(3).left(2), QStringLiteral("01"));

    // Dates typed without leading zeros are accepted and reach the condition as yyyy/mm/dd.
    Clock::advance(60);
    input.setDateFrom = QStringLiteral("2026/12/1");
    input.setDateTo = QStringLiteral("2026/12/31");
    input.special.clear();
    const ConversionResult typed = convert(input);
    ASSERT_TRUE(typed.converted());
    EXPECT_EQ(typed.orderCount, 2);
    EXPECT_TRUE(conditionText(typed.condition)
                    .endsWith(QStringLiteral(
                        "And TBL_ORDER.SET_DATE Between '2026/12/01' And '2026/12/31' ")));
}

TEST_P(ConversionRunTest, TypedSetDatesSelectTheDaysTheyNameWithOrWithoutLeadingZeros)
{
    const QStringList setDates = {"2026/12/05", "2026/12/09", "2026/12/15", "2026/12/31"};
    for (int i = 0; i < setDates.size(); ++i) {
        OrderLine l;
        l.ln = i + 1;
        l.setDate = setDates[i];
        addLine(db(), l);
    }
    struct Case {
        QString from, to;
        QList<int> lines;
    };
    const QList<Case> cases = {
        {"2026/12/9", "2026/12/31", {2, 3, 4}}, // as text, "2026/12/9" lies after "2026/12/31"
        {"2026/12/09", "2026/12/31", {2, 3, 4}},
        {"2026/12/1", "2026/12/9", {1, 2}},
        {"2026/12/5", "2026/12/5", {1}},
        {"2026/12/15", "2026/12/9", {}}, // reversed: nothing, as for dates
        {"2026/12/31", "2026/12/1", {}},
    };
    for (const Case &c : cases) {
        ConversionInput input = day();
        input.setDateFrom = c.from;
        input.setDateTo = c.to;
        const std::optional<OrderCondition> condition =
            ConversionRun::buildCondition(input, dialogs);
        ASSERT_TRUE(condition) << c.from.toStdString();
        QList<int> lines;
        db().forEach(QStringLiteral("SELECT IMP_LN FROM TBL_ORDER ") + condition->text() +
                         QStringLiteral("ORDER BY IMP_LN"),
                     condition->params(), [&](const QSqlQuery &q) { lines << q.value(0).toInt(); });
        EXPECT_EQ(lines, c.lines) << c.from.toStdString() << " - " << c.to.toStdString();
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_P(ConversionRunTest, NothingToConvertOrALineWithoutPrinterIsRefusedBeforeMarking)
{
    OrderLine l;
    l.flg3 = QStringLiteral("1");
    l.b1 = QStringLiteral("2026/12/08 09:00:00");
    addLine(db(), l);
    l.ln = 2;
    l.flg3 = QStringLiteral("0");
    l.b1.clear();
    l.flg4 = QStringLiteral("1");
    addLine(db(), l);
    EXPECT_EQ(convert(day()).outcome, Outcome::Refused);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("レコードがありません。"));
    EXPECT_EQ(dialogs.count(Shown::Question), 1);

    OrderLine ready;
    ready.ln = 3;
    addLine(db(), ready);
    OrderLine noPrinter;
    noPrinter.ln = 4;
    noPrinter.printer.clear();
    addLine(db(), noPrinter);
    dialogs.clear();
    EXPECT_EQ(convert(day()).outcome, Outcome::Refused);
    EXPECT_EQ(dialogs.last().text,
              QStringLiteral("印刷機種が設定されていないレコードが含まれています。"));
    EXPECT_EQ(marked(), 0);
    EXPECT_EQ(lineState(3), QStringLiteral("00 "));

    // A No to the count question ends the run as well.
    db().exec(QStringLiteral("UPDATE TBL_ORDER SET PRINTER = 'TP-1'"));
    dialogs.clear();
    dialogs.answers = {true, false};
    EXPECT_EQ(convert(day()).outcome, Outcome::Declined);
    EXPECT_EQ(lineState(3), QStringLiteral("00 "));
    EXPECT_TRUE(filesIn(session.folderSettings().sht).isEmpty());
}

// Output files: a run that fails after some of its files were written removes them, so the
// next run's files do not stand beside stale ones (LSTK_1.csv beside an unconverted LSTK.csv).
TEST_P(ConversionRunTest, OutputFilesOfARunThatFailsLateAreRemoved)
{
    OrderLine l;
    addLine(db(), l);
    l.ln = 2;
    addLine(db(), letterpress(l));
    ASSERT_TRUE(QDir(session.folderSettings().sht).removeRecursively());

    const ConversionResult result = convert(day());

    EXPECT_EQ(result.outcome, Outcome::Failed);
    ASSERT_GE(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.last().text,
              QStringLiteral("ロットシートCSVファイル書き出し時にエラーが発生しました。"));
    EXPECT_TRUE(dialogs.shown[dialogs.shown.size() - 2].text.contains(QStringLiteral("LSHT.csv")));
    for (const QString &folder :
         {session.folderSettings().car, session.folderSettings().han, session.folderSettings().stk})
        EXPECT_EQ(filesIn(folder), QStringList()) << folder.toStdString();
    EXPECT_EQ(marked() + converted() + workRows(), 0);
    EXPECT_FALSE(progress.active);

    // The stamp refused after every file was written: the files go as well.
    ASSERT_TRUE(QDir().mkpath(session.folderSettings().sht));
    refuseUpdates(db(), QStringLiteral("TBL_ORDER"), QStringLiteral("FLG3"));
    dialogs.clear();
    EXPECT_EQ(convert(day()).outcome, Outcome::Failed);
    for (const QString &folder : {session.folderSettings().car, session.folderSettings().han,
                                  session.folderSettings().stk, session.folderSettings().sht})
        EXPECT_EQ(filesIn(folder), QStringList()) << folder.toStdString();
    EXPECT_EQ(marked() + converted(), 0);
}

// Output files: a name made from a line's data that is no file name here, or that meets
// another name of the run, refuses the run naming the line before anything is written.
TEST_P(ConversionRunTest, OutputFileNamesFromTheLinesAreCheckedBeforeAnyFileIsWritten)
{
    exec(db(), QStringLiteral("MST_FACTORY"),
         {{"FC_RG", "AB_1"}, {"FC_CD", "001"}, {"GENSAN", "日本製"}});
    struct Case {
        const char *what;
        QList<OrderLine> lines;
        QString message;
    };
    auto line = [](int ln, const char *knrNo, const char *fcRg = "AB", bool thermal = true) {
        OrderLine l;
        l.ln = ln;
        l.knrNo = QString::fromUtf8(knrNo);
        l.fcRg = QString::fromUtf8(fcRg);
        return thermal ? l : letterpress(l);
    };
    const QList<Case> cases = {
        {"slash",
         {line(1, "AB-001"), line(2, "AB/002")},
         "管理No AB/002 のファイル名「AB/002.csv」に使えない文字「/」があります。"},
        {"backslash",
         {line(1, "AB\\003")},
         "管理No AB\\003 のファイル名「AB\\003.csv」に使えない文字「\\」があります。"},
        {"leading dot",
         {line(1, ".AB-004")},
         "管理No .AB-004 のファイル名「.AB-004.csv」は「.」で始まるため使えません。"},
        {"the free name of another control number",
         {line(1, "AB-001"), line(2, "AB-001_1")},
         "管理No AB-001_1 のファイル名「AB-001_1.csv」が同じ変換の「AB-001.csv」と"
         "重なるため書き出せません。"},
        {"the same name but for case",
         {line(1, "AB-001"), line(2, "ab-001")},
         "管理No ab-001 のファイル名「ab-001.csv」が同じ変換の「AB-001.csv」と"
         "重なるため書き出せません。"},
        {"an artwork name ending like a free name",
         {line(1, "AB-001", "AB", false), line(2, "AB_1-001", "AB_1", false)},
         "管理No AB_1-001 のファイル名「20261210_AB_1.csv」が同じ変換の「20261210_AB.csv」と"
         "重なるため書き出せません。"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        db().exec(QStringLiteral("DELETE FROM TBL_ORDER"));
        for (const OrderLine &l : c.lines)
            addLine(db(), l);
        finishLines(db());
        dialogs.clear();

        EXPECT_EQ(convert(day()).outcome, Outcome::Failed);

        EXPECT_EQ(dialogs.last().text, c.message);
        EXPECT_EQ(dialogs.last().icon, Icon::Error);
        for (const QString &folder : {session.folderSettings().car, session.folderSettings().han,
                                      session.folderSettings().stk, session.folderSettings().sht})
            EXPECT_EQ(filesIn(folder), QStringList()) << folder.toStdString();
        EXPECT_EQ(marked() + converted() + workRows(), 0);
    }
}

// Folders: an unset folder refuses the run before anything is marked (files never go to the
// working folder of the command), and a relative folder is taken from the installation folder.
TEST_P(ConversionRunTest, FoldersUnsetRefuseTheRunAndRelativeOnesLieInTheInstallation)
{
    addLine(db(), OrderLine{});
    // The command runs in a folder of its own, which must stay empty.
    struct WorkingFolder {
        QString previous = QDir::currentPath();
        ~WorkingFolder() { QDir::setCurrent(previous); }
    } restore;
    const QString elsewhere = path(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    ASSERT_TRUE(QDir::setCurrent(elsewhere));
    const QList<std::pair<QString OutputFolders::*, QString>> folders = {
        {&OutputFolders::car, QStringLiteral("生産Cパスが未設定です。（CarDir）")},
        {&OutputFolders::han, QStringLiteral("指示版下パスが未設定です。（HanDir）")},
        {&OutputFolders::stk, QStringLiteral("ロットシールパスが未設定です。（StkDir）")},
        {&OutputFolders::sht, QStringLiteral("ロットシートパスが未設定です。（ShtDir）")}};
    for (const auto &[folder, message] : folders) {
        const QString set = session.folderSettings().*folder;
        setFolder(folder, QString());
        dialogs.clear();
        EXPECT_EQ(convert(day()).outcome, Outcome::Refused);
        EXPECT_EQ(dialogs.texts(), QStringList{message});
        EXPECT_EQ(dialogs.last().icon, Icon::Error);
        setFolder(folder, set);
    }
    EXPECT_EQ(marked() + converted(), 0);

    setFolder(&OutputFolders::stk, QStringLiteral("seals/today"));
    ASSERT_TRUE(QDir(dir()).mkpath(session.folderSettings().stk));
    dialogs.clear();
    const ConversionResult result = convert(day());
    ASSERT_TRUE(result.converted()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(filesIn(path(QStringLiteral("seals/today"))), QStringList{"LSTK.csv"});
    EXPECT_EQ(QDir(elsewhere).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
}

TEST_P(ConversionRunTest, TwoRunsGetDistinctStampsAndCancelsUndoThemLatestFirst)
{
    OrderLine l;
    l.ln = 1;
    l.setDate = QStringLiteral("2026/12/10");
    addLine(db(), l);
    l.ln = 2;
    l.setDate = QStringLiteral("2026/12/11");
    addLine(db(), l);
    ConversionInput first = day();
    first.setDateFrom = first.setDateTo = QStringLiteral("2026/12/10");
    ASSERT_TRUE(convert(first).converted());
    // Same second on the clock: the second run still gets a later stamp.
    const ConversionResult second = convert(day());
    ASSERT_TRUE(second.converted());
    EXPECT_EQ(second.orderCount, 1);
    EXPECT_EQ(lineState(1), QStringLiteral("01 2026/12/08 10:00:00"));
    EXPECT_EQ(lineState(2), QStringLiteral("01 2026/12/08 10:00:01"));
    EXPECT_EQ(filesIn(session.folderSettings().stk), (QStringList{"LSTK.csv", "LSTK_1.csv"}));

    ConversionCancel cancel(db(), dialogs, progress);
    dialogs.clear();
    ASSERT_EQ(cancel.run(kDay), Outcome::Done);
    EXPECT_EQ(dialogs.texts(), (QStringList{"前回変換をキャンセルしますか？", "完了しました。"}));
    EXPECT_EQ(lineState(2), QStringLiteral("00 "));
    EXPECT_EQ(lineState(1), QStringLiteral("01 2026/12/08 10:00:00"));
    ASSERT_EQ(cancel.run(kDay), Outcome::Done);
    EXPECT_EQ(lineState(1), QStringLiteral("00 "));
    dialogs.clear();
    EXPECT_EQ(cancel.run(kDay), Outcome::Refused);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("レコードがありません。"));
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    // The cancelled runs' files stay.
    EXPECT_EQ(filesIn(session.folderSettings().stk).size(), 2);
}

TEST_P(ConversionRunTest, CancelLeavesConfirmedLinesAndOtherDaysAlone)
{
    OrderLine l;
    l.flg3 = QStringLiteral("1");
    l.flg4 = QStringLiteral("1");
    l.b1 = QStringLiteral("2026/12/08 09:00:00");
    addLine(db(), l);
    OrderLine other = l;
    other.impDate = QStringLiteral("20261207");
    other.flg4 = QStringLiteral("0");
    addLine(db(), other);
    ConversionCancel cancel(db(), dialogs, progress);
    EXPECT_EQ(cancel.run(kDay), Outcome::Refused);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("レコードがありません。"));
    EXPECT_EQ(converted(), 2);

    dialogs.clear();
    dialogs.answers = {false};
    EXPECT_EQ(cancel.run(QStringLiteral("20261207")), Outcome::Declined);
    EXPECT_EQ(converted(), 2);
}

TEST_P(ConversionRunTest, ADeadRunsMarksAreClearedBeforeTheRunSelects)
{
    OrderLine today;
    addLine(db(), today);
    OrderLine orphan = today;
    orphan.impDate = QStringLiteral("20261207");
    orphan.qulKey = QStringLiteral("GONE"); // would stop the quality check if still marked
    addLine(db(), orphan);
    db().exec(QStringLiteral("UPDATE TBL_ORDER SET FLG2 = '1' WHERE IMP_DATE = '20261207'"));

    const ConversionResult result = convert(day());

    ASSERT_TRUE(result.converted()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(result.reportRows, 1);
    EXPECT_EQ(marked(), 0);
    EXPECT_EQ(lineState(1, QStringLiteral("20261207")), QStringLiteral("00 "));
}

TEST_P(ConversionRunTest, NoFailureLeavesAMarkedLine)
{
    addLine(db(), OrderLine{});

    // Quality keys missing from the master.
    ConversionChecks missingQuality = ConversionChecks::standard();
    missingQuality.qualityCheck = [](Db &, Dialogs &) { return Outcome::Refused; };
    EXPECT_EQ(convert(day(), missingQuality).outcome, Outcome::Failed);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("マスタに登録してから再度実行してください。"));
    EXPECT_EQ(marked() + converted() + workRows(), 0);

    // A work table the database refuses: the step fails, the rollback still unmarks.
    dialogs.clear();
    db().exec(QStringLiteral("DROP TABLE WRK_CSV_H"));
    EXPECT_EQ(convert(day()).outcome, Outcome::Failed);
    EXPECT_TRUE(dialogs.texts().contains(
        QStringLiteral("指示版下用CSVテーブル作成時にエラーが発生しました。")));
    EXPECT_EQ(marked() + converted(), 0);
    db().exec(QStringLiteral("CREATE TABLE WRK_CSV_H AS SELECT * FROM WRK_CSV_C WHERE 1 = 0"));

    // The stamp itself refused: reported, nothing converted, nothing marked.
    dialogs.clear();
    refuseUpdates(db(), QStringLiteral("TBL_ORDER"), QStringLiteral("FLG3"));
    EXPECT_EQ(convert(day()).outcome, Outcome::Failed);
    EXPECT_TRUE(dialogs.last().text.contains(QStringLiteral("update refused")));
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(marked() + converted() + workRows(), 0);
    EXPECT_FALSE(progress.active);
}

TEST_P(ConversionRunTest, AFailedErrorCheckEndsTheRunBeforeAnythingIsMarked)
{
    addLine(db(), OrderLine{});
    OrderLine unregistered;
    unregistered.ln = 2;
    unregistered.fcRg = QStringLiteral("ZZ"); // no factory: the check would mark it
    addLine(db(), unregistered);

    ConversionChecks failing = ConversionChecks::standard();
    failing.orderCheck = [](Db &, Dialogs &, Progress &, const QString &) {
        return Outcome::Failed;
    };
    EXPECT_EQ(convert(day(), failing).outcome, Outcome::Failed);
    EXPECT_EQ(dialogs.texts(),
              (QStringList{"変換しますか？", "エラーチェック中にエラーが発生しました。"}));
    EXPECT_EQ(dialogs.last().icon, Icon::Error);

    // The check itself refused by the database: the same end, before any mark.
    dialogs.clear();
    db().exec(QStringLiteral("ALTER TABLE MST_BRAND RENAME TO MST_BRAND_GONE"));
    EXPECT_EQ(convert(day()).outcome, Outcome::Failed);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("エラーチェック中にエラーが発生しました。"));
    EXPECT_EQ(marked() + converted() + workRows(), 0);
    EXPECT_TRUE(filesIn(session.folderSettings().car).isEmpty());
    EXPECT_TRUE(filesIn(session.folderSettings().stk).isEmpty());

    // Once the check completes, its findings keep the unregistered factory's line out.
    dialogs.clear();
    db().exec(QStringLiteral("ALTER TABLE MST_BRAND_GONE RENAME TO MST_BRAND"));
    ASSERT_TRUE(convert(day()).converted()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(lineState(1).left(2), QStringLiteral("01"));
    EXPECT_EQ(lineState(2), QStringLiteral("00 "));
}

TEST_P(ConversionRunTest, QuantitiesBeyondTheIntegerRangeArePrintedWhole)
{
    OrderLine big;
    big.su = 2147483647;
    addLine(db(), big);
    big.ln = 2;
    big.row = QStringLiteral("04");
    addLine(db(), big);
    ASSERT_TRUE(convert(day()).converted()) << dialogs.texts().join('|').toStdString();
    const QList<QStringList> print =
        readCsv(QDir(session.folderSettings().car).filePath("AB-001.csv"));
    ASSERT_EQ(print.size(), 2);
    EXPECT_EQ(print[0][1], QStringLiteral("2147483660")); // SU + spare 10 + spoilage 3
    const QList<QStringList> seal =
        readCsv(QDir(session.folderSettings().stk).filePath("LSTK.csv"));
    ASSERT_EQ(seal.size(), 1);
    EXPECT_EQ(seal[0][3], QStringLiteral("4294967294"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT MAX(LOT_SU) FROM WRK_RPT")).toLongLong(),
              4294967294LL);
}

TEST_P(ConversionRunTest, ALineIsNeverStampedWithoutTheDataKindOfItsPrinter)
{
    OrderLine line;
    line.knrNo = QStringLiteral("AB-007");
    addLine(db(), line);
    const QList<OrderLineValue> read{
        {"IMP_DATE", kDay}, {"IMP_LN", 1}, {"PRINTER", "TP-1"}, {"DATA_FLG", "1"}};
    // A printer chosen in the edit grid brings the kind MST_PRINTER gives it.
    ASSERT_TRUE(OrderLineStore(db()).update({{"PRINTER", "LP-1"}}, read));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT DATA_FLG FROM TBL_ORDER")).toString(), "0");
    // A printer the master does not know leaves the kind unknown, and the run refuses it.
    ASSERT_TRUE(OrderLineStore(db()).update(
        {{"PRINTER", "TP-9"}}, {{"IMP_DATE", kDay}, {"IMP_LN", 1}, {"PRINTER", "LP-1"}}));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT DATA_FLG FROM TBL_ORDER")).toString(), "");

    EXPECT_EQ(convert(day()).outcome, Outcome::Refused);
    EXPECT_EQ(dialogs.last().text, ConversionRun::unknownDataKindMessage("AB-007", "TP-9"));
    EXPECT_EQ(marked() + converted() + workRows(), 0);
    EXPECT_TRUE(filesIn(session.folderSettings().stk).isEmpty());
}

namespace {
// Tells the other workstation's thread that the run has started waiting.
class WaitingProgress : public RecordingProgress {
public:
    std::atomic<bool> waiting{false};
    void note(const QString &text) override
    {
        RecordingProgress::note(text);
        waiting = true;
    }
};
} // namespace

TEST_P(ConversionRunTest, ARunWaitsForAnotherWorkstationsRunToFinish)
{
    addLine(db(), OrderLine{});
    std::atomic<bool> held{false};
    WaitingProgress ours;
    // The other workstation, on a connection of its own in its own thread; it lets go once
    // the run has shown that it waits (or after 30 s, so that a failing test ends).
    std::thread other([&] {
        auto second = openSecond();
        RecordingProgress theirs;
        RunLock lock(*second, RunLock::Kind::Conversion);
        lock.acquire(theirs);
        held = true;
        for (int i = 0; i < 1500 && !ours.waiting; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        lock.release();
    });
    while (!held)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));

    ConversionRun run(db(), dialogs, ours, session.outputFolders());
    const ConversionResult result = run.run(day());
    other.join();

    EXPECT_TRUE(result.converted()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(ours.notes, QStringList{RunLock::waitingMessage()});
    EXPECT_EQ(marked(), 0);
}

TEST_P(ConversionRunTest, ChecksAndMasterSavesWaitForARunningConversion)
{
    addLine(db(), OrderLine{});
    WaitingProgress theirs;
    std::thread other;
    std::atomic<bool> saved{false};
    std::atomic<bool> checked{false};
    // The run is held between its mark and its work tables while another workstation renames
    // the name type's item and checks the day again.
    ConversionChecks paused = ConversionChecks::standard();
    paused.qualityCheck = [&](Db &d, Dialogs &dl) {
        other = std::thread([&] {
            auto second = openSecond();
            ScriptedDialogs silent;
            NameTypeMaster car(*second, &theirs);
            MasterValues values = car.load(QStringLiteral("C01"));
            values[QStringLiteral("SHO_NM1")] = QStringLiteral("新しい品名");
            car.save(ModeEdit, QStringLiteral("C01"), values);
            saved = true;
            checked = checkDay(*second, silent, theirs, kDay) == Outcome::Done;
        });
        for (int i = 0; i < 1500 && !theirs.waiting; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_FALSE(saved);
        return checkRunQualityKeys(d, dl);
    };
    const ConversionResult result = convert(day(), paused);
    other.join();

    ASSERT_TRUE(result.converted()) << dialogs.texts().join('|').toStdString();
    EXPECT_TRUE(theirs.notes.contains(RunLock::waitingMessage()));
    EXPECT_TRUE(saved && checked);
    // The run's lists and files say what its masters said when it started.
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT SHO_NM1 FROM WRK_RPT")).toString(), "品質表示");
    EXPECT_EQ(readCsv(QDir(session.folderSettings().car).filePath("AB-001.csv")).at(0).at(57),
              "品質表示");
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT SHO_NM1 FROM MST_CAR WHERE CAR_CD = 'C01'")).toString(),
        "新しい品名");
    EXPECT_EQ(lineState(1), QStringLiteral("01 2026/12/08 10:00:00"));
}
