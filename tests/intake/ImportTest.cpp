#include "DbTest.h"
#include "OrderFileBuilder.h"
#include "OrderTestMasters.h"

#include "ControlNumbers.h"
#include "FileImport.h"
#include "ImportRun.h"
#include "OrderBuild.h"
#include "RunLock.h"

#include <QFile>
#include <QSqlRecord>

class ImportTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        loadTestMasters(db());
    }

    QString writeFile(const QByteArray &bytes, const QString &name = QStringLiteral("order.txt"))
    {
        const QString file = path(name);
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        return file;
    }

    static ImportRequest request(const QString &file, const QString &date = "20261208",
                                 const QString &nen = "2026", const QString &tuki = "12")
    {
        return {file, date, nen, tuki, QDate(2026, 12, 8)};
    }

    Outcome import(const QByteArray &bytes, const QString &date = "20261208",
                   const QString &nen = "2026", const QString &tuki = "12")
    {
        return ImportRun(db(), dialogs, progress).run(request(writeFile(bytes), date, nen, tuki));
    }

    QString value(const QString &sql) { return db().scalar(sql).toString(); }

    // Control numbers of the day's lines in line order.
    QStringList knrNos(const QString &date = "20261208")
    {
        QStringList result;
        for (const QSqlRecord &r : db().rows(
                 "SELECT KNR_NO FROM TBL_ORDER WHERE IMP_DATE = :d ORDER BY IMP_LN", {{"d", date}}))
            result << r.value(0).toString();
        return result;
    }

    // Nothing of a failed import may remain.
    void expectNothingLeft(const QString &date = "20261208")
    {
        EXPECT_EQ(count("TBL_ORDER", "IMP_DATE = " + Db::quote(date)), 0);
        EXPECT_EQ(count("SYS_IMPDATE"), 0);
        EXPECT_EQ(count("SYS_KNR_NO"), 0);
        EXPECT_EQ(count("WRK_ORDER"), 0);
        EXPECT_EQ(db().transactionDepth(), 0);
    }
};
INSTANTIATE_ENGINES(ImportTest);

TEST_P(ImportTest, ImportsNormalisesBuildsAndRegistersTheDay)
{
    OrderLine a;
    a.set("QUL_KEY", "CT 10 00").set("ORD_DATE", "040115").set("SET_DATE", "");
    ASSERT_EQ(import(orderFile({a, OrderLine().set("SU", "")})), Outcome::Done);
    ASSERT_EQ(dialogs.messages().size(), 2);
    EXPECT_EQ(dialogs.messages().at(0), "エラーチェック処理を開始します。");
    EXPECT_TRUE(dialogs.messages().at(1).startsWith("処理は終了しました。\n取込 2 行、"));
    EXPECT_EQ(count("WRK_ORDER"), 2);
    EXPECT_EQ(count("TBL_ORDER", "IMP_DATE = '20261208'"), 2);
    EXPECT_EQ(count("SYS_IMPDATE", "IMP_DATE = '20261208' AND KAKUTEI_FLG = '0'"), 1);

    const QSqlRecord r = db().rows("SELECT * FROM TBL_ORDER WHERE IMP_LN = 1").first();
    EXPECT_EQ(r.value("QUL_KEY").toString(), "CT1000"); // blanks inside removed
    EXPECT_EQ(r.value("ORD_DATE").toString(), "2004/01/15");
    EXPECT_EQ(r.value("SET_DATE").toString(), "20//"); // a blank date stays blank
    EXPECT_EQ(r.value("SEIZOUMOTO").toString(), "株式会社\u3000オステラ");
    EXPECT_EQ(r.value("SEISAN_NEN").toString(), "26");
    EXPECT_EQ(r.value("SEISAN_TUKI").toString(), "12");
    EXPECT_EQ(r.value("ORD_NO").toString(), "");
    EXPECT_EQ(r.value("FLG1").toString(), "0");
    EXPECT_EQ(r.value("FLG10").toString(), "0");
    EXPECT_EQ(r.value("SU").toInt(), 100);
    EXPECT_EQ(value("SELECT SU FROM TBL_ORDER WHERE IMP_LN = 2"), "0"); // blank quantity
}

TEST_P(ImportTest, LinesOfOneGroupShareAControlNumberInGroupOrder)
{
    // Groups are numbered per factory in the order set date, name type, lot number, whatever
    // the order of the file.
    const QList<OrderLine> lines{
        OrderLine().set("LOT_NO", "JZ00002"),                           // TK group 2
        OrderLine().set("LOT_NO", "JZ00001"),                           // TK group 1
        OrderLine().set("LOT_NO", "JZ00001"),                           // TK group 1
        OrderLine().set("LOT_NO", "JZ00001").set("SET_DATE", "261211"), // TK group 4
        OrderLine().set("LOT_NO", "JZ00001").set("CAR_CD", "B"),        // TK group 3
        OrderLine().set("FC_RG", "SH").set("FC_CD", "C31005"),          // SH group 1
    };
    ASSERT_EQ(import(orderFile(lines)), Outcome::Done);
    EXPECT_EQ(knrNos(), QStringList({"TK-002", "TK-001", "TK-001", "TK-004", "TK-003", "SH-001"}));
    EXPECT_EQ(value("SELECT KNR_NO FROM SYS_KNR_NO WHERE FC_RG = 'TK' AND ORD_NEN = '2026' "
                    "AND ORD_TUKI = '12'"),
              "4");
    EXPECT_EQ(value("SELECT KNR_NO FROM SYS_KNR_NO WHERE FC_RG = 'SH'"), "1");
}

TEST_P(ImportTest, NumbersContinueWithinAMonthAndRestartInTheNext)
{
    QList<OrderLine> seven;
    for (int i = 1; i <= 7; ++i)
        seven << OrderLine().set("LOT_NO", QStringLiteral("JZ%1").arg(i, 5, 10, QLatin1Char('0')));
    ASSERT_EQ(import(orderFile(seven), "20261208"), Outcome::Done);
    EXPECT_EQ(knrNos("20261208").last(), "TK-007");

    ASSERT_EQ(import(orderFile({OrderLine(), OrderLine().set("LOT_NO", "JZ99999")}), "20261209"),
              Outcome::Done);
    EXPECT_EQ(knrNos("20261209"), QStringList({"TK-008", "TK-009"}));

    ASSERT_EQ(import(orderFile({OrderLine()}), "20270104", "2027", "01"), Outcome::Done);
    EXPECT_EQ(knrNos("20270104"), QStringList({"TK-001"}));
}

TEST_P(ImportTest, PastNineHundredNinetyNineNumbersTakeMoreDigitsAndNeverRepeatInAMonth)
{
    // 1 001 groups of one factory in one file, then one more on a later day of the month.
    QList<OrderLine> groups;
    for (int i = 1; i <= 1001; ++i)
        groups << OrderLine().set("LOT_NO", QStringLiteral("JZ%1").arg(i, 5, 10, QLatin1Char('0')));
    ASSERT_EQ(import(orderFile(groups), "20261208"), Outcome::Done);
    const QStringList first = knrNos("20261208");
    ASSERT_EQ(first.size(), 1001);
    EXPECT_EQ(first[0], "TK-001");
    EXPECT_EQ(first.mid(998), QStringList({"TK-999", "TK-1000", "TK-1001"}));
    ASSERT_EQ(import(orderFile({OrderLine().set("LOT_NO", "JZ00001")}), "20261209"), Outcome::Done);
    EXPECT_EQ(knrNos("20261209"), QStringList({"TK-1002"}));
    EXPECT_EQ(value("SELECT COUNT(DISTINCT KNR_NO) FROM TBL_ORDER"), "1002");
    EXPECT_EQ(value("SELECT KNR_NO FROM SYS_KNR_NO WHERE FC_RG = 'TK'"), "1002");
}

TEST_P(ImportTest, ControlNumberDrawIsAtomicAcrossWorkstations)
{
    auto second = openSecond();
    QList<int> drawn;
    for (int i = 0; i < 5; ++i) {
        drawn << nextControlNumber(db(), "2026", "12", "AB");
        drawn << nextControlNumber(*second, "2026", "12", "AB");
    }
    EXPECT_EQ(drawn, QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(nextControlNumber(db(), "2026", "12", "O'B"), 1); // quoted, not pasted
}

TEST_P(ImportTest, FileWithoutItsLastLineEndGivesEveryRecord)
{
    QByteArray file = orderFile({OrderLine(), OrderLine(), OrderLine().set("HINBAN", "OS9999")});
    file.chop(2);
    ASSERT_EQ(import(file), Outcome::Done);
    EXPECT_EQ(count("TBL_ORDER"), 3);
    EXPECT_EQ(value("SELECT HINBAN FROM TBL_ORDER WHERE IMP_LN = 3"), "OS9999");
}

TEST_P(ImportTest, QuotesAndOtherCharactersAreStoredAsTyped)
{
    OrderLine line;
    line.set("HINBAN", "O'S%1;").set("F17", "a'--b\\c").set("LOT_NO", "J'00001");
    ASSERT_EQ(import(orderFile({line, line})), Outcome::Done);
    EXPECT_EQ(value("SELECT HINBAN FROM TBL_ORDER WHERE IMP_LN = 1"), "O'S%1;");
    EXPECT_EQ(value("SELECT F17 FROM WRK_ORDER WHERE IMP_LN = 2"), "a'--b\\c");
    EXPECT_EQ(knrNos(), QStringList({"TK-001", "TK-001"}));
    EXPECT_EQ(value("SELECT HINBAN_KBN FROM TBL_ORDER WHERE IMP_LN = 1"), "O'S");
}

TEST_P(ImportTest, BadRecordsAreRefusedNamingTheRecordAndLeaveNothing)
{
    QByteArray withNul = orderFile({OrderLine(), OrderLine(), OrderLine()});
    withNul[2 * 130 + 50] = '\0';
    QByteArray badBytes = orderFile({OrderLine(), OrderLine()});
    badBytes[130 + 33] = char(0x80);
    QByteArray shortLast = orderFile({OrderLine(), OrderLine()});
    shortLast.chop(20);
    const struct {
        QByteArray file;
        QString message;
    } cases[] = {
        {orderFile({OrderLine(), OrderLine().set("SU", "1O0")}),
         "取込ファイルの2件目: 数量が数値ではありません。"},
        {withNul, "取込ファイルの3件目: NUL文字が含まれています。"},
        {badBytes, "取込ファイルの2件目: 文字コードが正しくありません。"},
        {shortLast, "取込ファイルの2件目: レコードの長さが足りません。"},
        {QByteArray(), "取込ファイルの1件目: レコードの長さが足りません。"},
    };
    for (const auto &c : cases) {
        dialogs.clear();
        EXPECT_EQ(import(c.file), Outcome::Refused);
        EXPECT_EQ(dialogs.messages(), QStringList({c.message, "エラー終了しました。"}));
        EXPECT_EQ(dialogs.shown.first().icon, Icon::Error);
        expectNothingLeft();
    }
    // The corrected file goes in at once, numbered from 001.
    dialogs.clear();
    ASSERT_EQ(import(orderFile({OrderLine(), OrderLine()})), Outcome::Done);
    EXPECT_EQ(knrNos(), QStringList({"TK-001", "TK-001"}));
}

TEST_P(ImportTest, AFailedBuildLeavesNoLinesNoCountersAndNoRegistration)
{
    // An index the two lines cannot both satisfy makes the build's insert fail after the file
    // was read and numbered.
    db().exec("CREATE UNIQUE INDEX IX_TEST_HINBAN ON TBL_ORDER(HINBAN)");
    EXPECT_EQ(import(orderFile({OrderLine(), OrderLine()})), Outcome::Failed);
    EXPECT_EQ(dialogs.messages().last(), "エラー終了しました。");
    expectNothingLeft();
    db().exec("DROP INDEX IX_TEST_HINBAN");
    dialogs.clear();
    ASSERT_EQ(import(orderFile({OrderLine(), OrderLine()})), Outcome::Done);
    EXPECT_EQ(knrNos(), QStringList({"TK-001", "TK-001"}));
}

TEST_P(ImportTest, AdmissionRefusesMissingFilesAndImportedDays)
{
    EXPECT_EQ(ImportRun(db(), dialogs, progress).run(request(path("none.txt"))), Outcome::Refused);
    EXPECT_EQ(dialogs.messages(),
              QStringList({"ファイルが見つかりません。", "エラー終了しました。"}));

    const QString refused = "指定された日付(20261208)は既に読み込まれています。\r\n"
                            "違う日付を指定するか、明日行ってください。";
    ASSERT_EQ(import(orderFile({OrderLine()})), Outcome::Done);
    dialogs.clear();
    EXPECT_EQ(import(orderFile({OrderLine(), OrderLine()})), Outcome::Refused);
    EXPECT_EQ(dialogs.messages(), QStringList({refused, "エラー終了しました。"}));
    EXPECT_EQ(count("TBL_ORDER"), 1);
    EXPECT_EQ(value("SELECT KNR_NO FROM SYS_KNR_NO"), "1");

    // Lines without a registration (an earlier desk's half import) refuse the day too.
    db().exec("DELETE FROM SYS_IMPDATE");
    dialogs.clear();
    EXPECT_EQ(import(orderFile({OrderLine()})), Outcome::Refused);
    EXPECT_EQ(dialogs.messages().first(), refused);
}

namespace {
// Another workstation imports the same day while this one waits for the lock.
class OtherWorkstation : public Progress {
public:
    OtherWorkstation(Db &other) : m_other(other), m_lock(other, RunLock::Kind::Import) {}
    void holdLock() { m_lock.acquire(*this); }
    void start(const QString &, int) override {}
    void step(int) override {}
    void finish() override {}
    void note(const QString &text) override
    {
        notes << text;
        if (!m_lock.held())
            return;
        m_other.exec("INSERT INTO SYS_IMPDATE(IMP_DATE, KAKUTEI_FLG) VALUES('20261208', '0')");
        m_lock.release();
    }
    QStringList notes;

private:
    Db &m_other;
    RunLock m_lock;
};
} // namespace

TEST_P(ImportTest, WaitsForAnotherWorkstationAndChecksTheDayAgain)
{
    auto second = openSecond();
    OtherWorkstation other(*second);
    other.holdLock();
    const QString file = writeFile(orderFile({OrderLine()}));
    EXPECT_EQ(ImportRun(db(), dialogs, other).run(request(file)), Outcome::Refused);
    EXPECT_EQ(other.notes, QStringList({RunLock::waitingMessage()}));
    EXPECT_TRUE(dialogs.messages().first().startsWith("指定された日付(20261208)は既に"));
    EXPECT_EQ(count("TBL_ORDER"), 0);
    EXPECT_EQ(count("SYS_KNR_NO"), 0);
}

TEST_P(ImportTest, ImportRefusesTheDayWhileTheOtherImportHoldsTheWorkTable)
{
    // The work table is emptied and filled under the lock only: a run that times out waiting
    // leaves the other workstation's rows alone.
    auto second = openSecond();
    second->exec("INSERT INTO WRK_ORDER(IMP_DATE, IMP_LN) VALUES('20261207', 1)");
    RunLock held(*second, RunLock::Kind::Import);
    NullProgress quiet;
    held.acquire(quiet);
    ImportRun run(db(), dialogs, progress);
    run.setLockWait(1);
    EXPECT_EQ(run.run(request(writeFile(orderFile({OrderLine()})))), Outcome::Failed);
    EXPECT_EQ(dialogs.messages().last(), "エラー終了しました。");
    EXPECT_EQ(count("WRK_ORDER", "IMP_DATE = '20261207'"), 1);
    EXPECT_EQ(progress.notes, QStringList({RunLock::waitingMessage()}));
}

TEST_P(ImportTest, FileImportAloneFillsTheWorkTableWithEveryColumn)
{
    OrderLine line;
    line.set("F01", "9").set("F02", "ab").set("JAN", "4987654000017").set("PRICE", "2900");
    line.set("TAG_CD", "T001").set("SND_CD", "N13001").set("F17", "ﾂｲｶ").set("F19", "99");
    const QString file = writeFile(orderFile({line}));
    ASSERT_EQ(importFile(db(), dialogs, progress, request(file)), Outcome::Done);
    const QSqlRecord r = db().rows("SELECT * FROM WRK_ORDER").first();
    EXPECT_EQ(r.value("IMP_DATE").toString(), "20261208");
    EXPECT_EQ(r.value("IMP_LN").toInt(), 1);
    EXPECT_EQ(r.value("F01").toString(), "9");
    EXPECT_EQ(r.value("F02").toString(), "ab");
    EXPECT_EQ(r.value("JAN").toString(), "4987654000017");
    EXPECT_EQ(r.value("PRICE").toString(), "2900");
    EXPECT_EQ(r.value("TAG_CD").toString(), "T001");
    EXPECT_EQ(r.value("SND_CD").toString(), "N13001");
    EXPECT_EQ(r.value("F17").toString(), "ﾂｲｶ");
    EXPECT_EQ(r.value("F19").toString(), "99");
    EXPECT_EQ(r.value("CAR_CD").toString(), "A");
    EXPECT_EQ(r.value("KNR_NO").toString(), "TK-001");
    EXPECT_EQ(progress.titles, QStringList({"ファイル取込...", "管理番号..."}));
    EXPECT_EQ(workOrderColumns().size(), 41);
}

TEST_P(ImportTest, BuildReplacesTheDayAndLeavesOtherDaysAlone)
{
    db().exec("INSERT INTO TBL_ORDER(IMP_DATE, IMP_LN, SEIZOUMOTO) VALUES('20261207', 1, '')");
    db().exec("INSERT INTO TBL_ORDER(IMP_DATE, IMP_LN) VALUES('20261208', 9)");
    const QString file = writeFile(orderFile({OrderLine().set("S_END", "B")}));
    ASSERT_EQ(importFile(db(), dialogs, progress, request(file)), Outcome::Done);
    ASSERT_EQ(buildOrders(db(), dialogs, "20261208"), Outcome::Done);
    EXPECT_EQ(count("TBL_ORDER", "IMP_DATE = '20261208'"), 1);
    EXPECT_EQ(value("SELECT SIZE_KEY FROM TBL_ORDER WHERE IMP_DATE = '20261208'"), "BM0201");
    EXPECT_EQ(value("SELECT SEIZOUMOTO FROM TBL_ORDER WHERE IMP_DATE = '20261207'"), "");
    EXPECT_EQ(value("SELECT DATA_FLG || '/' || PRINTER FROM TBL_ORDER WHERE IMP_DATE = '20261208'"),
              "/");
}

TEST_P(ImportTest, FixtureFilesImportWithAndWithoutTheirLastLineEnd)
{
    const auto run = [&](const char *file, const QString &date) {
        return ImportRun(db(), dialogs, progress)
            .run(request(testDataPath(QStringLiteral("orders/") + file), date));
    };
    ASSERT_EQ(run("day_5_lines.txt", "20261208"), Outcome::Done);
    ASSERT_EQ(run("day_5_lines_no_final_line_end.txt", "20261209"), Outcome::Done);
    EXPECT_EQ(knrNos("20261208"), QStringList({"TK-001", "TK-001", "TK-002", "SH-001", "SH-001"}));
    EXPECT_EQ(knrNos("20261209"), QStringList({"TK-003", "TK-003", "TK-004", "SH-002", "SH-002"}));
    for (const QString date : {"20261208", "20261209"}) {
        const auto line3 =
            db().rows("SELECT * FROM TBL_ORDER WHERE IMP_DATE = :d AND IMP_LN = 3", {{"d", date}});
        ASSERT_EQ(line3.size(), 1);
        EXPECT_EQ(line3.first().value("QUL_KEY").toString(), "CT1000");
        EXPECT_EQ(value("SELECT F17 || '/' || F19 FROM WRK_ORDER WHERE IMP_LN = 3"), "ｼｷｭｳ/急");
        EXPECT_EQ(db().scalar("SELECT SU FROM TBL_ORDER WHERE IMP_DATE = :d AND IMP_LN = 5",
                              {{"d", date}})
                      .toInt(),
                  0);
    }
    dialogs.clear();
    EXPECT_EQ(run("bad_quantity_in_3.txt", "20261210"), Outcome::Refused);
    EXPECT_EQ(dialogs.messages().first(), "取込ファイルの3件目: 数量が数値ではありません。");
}

namespace {
// Looks at the database from another workstation when the check is announced.
class LookingDialogs : public ScriptedDialogs {
public:
    std::function<void()> onAnnounce;

protected:
    void showMessage(const QString &text, Icon icon, const QString &title) override
    {
        if (text == "エラーチェック処理を開始します。" && onAnnounce)
            onAnnounce();
        ScriptedDialogs::showMessage(text, icon, title);
    }
};
} // namespace

TEST_P(ImportTest, TheImportIsCommittedBeforeTheCheckIsAnnounced)
{
    auto second = openSecond();
    LookingDialogs looking;
    int registered = -1;
    int lines = -1;
    int findings = -1;
    looking.onAnnounce = [&] {
        registered = second->scalar("SELECT COUNT(*) FROM SYS_IMPDATE").toInt();
        lines = second->scalar("SELECT COUNT(*) FROM TBL_ORDER").toInt();
        findings = second->scalar("SELECT COUNT(*) FROM TBL_ERR").toInt();
    };
    const QString file = writeFile(orderFile({OrderLine(), OrderLine().set("ROW", "09")}));
    ASSERT_EQ(ImportRun(db(), looking, progress).run(request(file)), Outcome::Done);
    EXPECT_EQ(registered, 1);
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(findings, 0);                       // the check comes after, in its own transaction
    EXPECT_EQ(count("TBL_ERR", "IMP_LN = 2"), 3); // size key, size row, row
    EXPECT_EQ(value("SELECT BR_CD FROM TBL_ORDER WHERE IMP_LN = 1"), "OSBLUE");
}

TEST_P(ImportTest, EveryFactoryOfADayKeepsItsOwnCounter)
{
    // More than ten factories: each counter is raised by its own groups only.
    QList<OrderLine> lines;
    for (int f = 0; f < 12; ++f)
        for (int lot = 0; lot <= f % 3; ++lot)
            lines << OrderLine()
                         .set("FC_RG", QStringLiteral("F%1").arg(QChar('A' + f)))
                         .set("LOT_NO", QStringLiteral("JZ%1").arg(lot, 5, 10, QLatin1Char('0')));
    nextControlNumber(db(), "2026", "12", "FK", 41);
    const QString file = writeFile(orderFile(lines));
    ASSERT_EQ(importFile(db(), dialogs, progress, request(file)), Outcome::Done);
    const auto numbers =
        db().rows("SELECT FC_RG, MAX(KNR_NO), COUNT(DISTINCT KNR_NO) FROM WRK_ORDER "
                  "GROUP BY FC_RG ORDER BY FC_RG");
    ASSERT_EQ(numbers.size(), 12);
    for (int f = 0; f < 12; ++f) {
        const QString fc = QStringLiteral("F%1").arg(QChar('A' + f));
        const int groups = f % 3 + 1;
        const int last = (fc == "FK" ? 41 : 0) + groups;
        EXPECT_EQ(numbers[f].value(1).toString(), formatKnrNo(fc, last)) << fc.toStdString();
        EXPECT_EQ(numbers[f].value(2).toInt(), groups);
        EXPECT_EQ(
            db().scalar("SELECT KNR_NO FROM SYS_KNR_NO WHERE FC_RG = :f", {{"f", fc}}).toInt(),
            last);
    }
}
