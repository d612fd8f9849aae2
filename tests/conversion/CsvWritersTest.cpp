#include "ConversionFixture.h"
#include "DbTest.h"
#include "globals.h"

#include "CsvFile.h"
#include "CsvWriters.h"
#include "ExclusiveFiles.h"
#include "WorkTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

using namespace ConversionFixture;

class CsvWritersTest : public DbTest {
protected:
    void addPrintRow(const QString &table, const QVariantMap &values)
    {
        QVariantMap row{{"IMP_DATE", kDay}, {"GYOU", 1}};
        row.insert(values);
        exec(db(), table, row);
    }

    void addReportRow(const QVariantMap &values)
    {
        QVariantMap row{{"IMP_DATE", kDay},  {"SET_DATE", "2026/12/10"}, {"FC_RG", "AB"},
                        {"BR_CD", "B01"},    {"CAR_CD", "C01"},          {"HINBAN", "AB1234"},
                        {"COL", "RD"},       {"QUL_KEY", "Q1"},          {"LOT_NO", "L0001"},
                        {"KNR_NO", "AB-001"}};
        row.insert(values);
        exec(db(), QStringLiteral("WRK_RPT"), row);
    }

    static void touch(const QString &path)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
};
INSTANTIATE_ENGINES(CsvWritersTest);

TEST_P(CsvWritersTest, ThermalFilesPerControlNumberNumberTheirLinesAndQuoteEveryValue)
{
    // Two files; within AB-001 the sizes sort by SIZE_SORT_LV, then ties by line number.
    addPrintRow(QStringLiteral("WRK_CSV_C"), {{"KNR_NO", "AB-001"},
                                              {"IMP_LN", 3},
                                              {"HINBAN", "H1"},
                                              {"SIZE0", "L"},
                                              {"SIZE_SORT_LV", 3},
                                              {"B20", "x"},
                                              {"SHO_NM1", "綿, 100%"},
                                              {"SHO_NM2", "say \"hi\""}});
    addPrintRow(QStringLiteral("WRK_CSV_C"), {{"KNR_NO", "AB-001"},
                                              {"IMP_LN", 2},
                                              {"HINBAN", "H1"},
                                              {"SIZE0", "S"},
                                              {"SIZE_SORT_LV", 1},
                                              {"B20", "y"}});
    addPrintRow(QStringLiteral("WRK_CSV_C"), {{"KNR_NO", "AB-001"},
                                              {"IMP_LN", 1},
                                              {"HINBAN", "H1"},
                                              {"SIZE0", "L"},
                                              {"SIZE_SORT_LV", 3},
                                              {"B20", "z"}});
    addPrintRow(
        QStringLiteral("WRK_CSV_C"),
        {{"KNR_NO", "CD-002"}, {"IMP_LN", 4}, {"HINBAN", "H2"}, {"PRINT_SU", 18}, {"B20", "w"}});
    // An earlier run's file of the same control number, not yet taken by the printer room,
    // stays as it is: the new file takes the next free name.
    touch(QDir(session.folderSettings().car).filePath(QStringLiteral("AB-001.csv")));

    ASSERT_EQ(writeThermalFiles(db(), dialogs, progress, session.folderSettings().car),
              Outcome::Done)
        << dialogs.texts().join(' ').toStdString();

    EXPECT_EQ(filesIn(session.folderSettings().car),
              (QStringList{"AB-001.csv", "AB-001_1.csv", "CD-002.csv"}));
    EXPECT_EQ(
        QFileInfo(QDir(session.folderSettings().car).filePath(QStringLiteral("AB-001.csv"))).size(),
        0);
    const QList<QStringList> ab =
        readCsv(QDir(session.folderSettings().car).filePath(QStringLiteral("AB-001_1.csv")));
    ASSERT_EQ(ab.size(), 3);
    for (const QStringList &line : ab)
        ASSERT_EQ(line.size(), 79);
    EXPECT_EQ(ab[0][5], QStringLiteral("S"));
    EXPECT_EQ(ab[1][5], QStringLiteral("L"));
    EXPECT_EQ(ab[1][78], QStringLiteral("2"));
    // Line 1 and line 3 tie on every sort key: the line number decides. The comma stays
    // inside its value, the inner quotes come back.
    EXPECT_EQ(ab[2][57], QStringLiteral("綿, 100%"));
    EXPECT_EQ(ab[2][58], QStringLiteral("say \"hi\""));
    EXPECT_EQ((QStringList{ab[0][78], ab[1][78], ab[2][78]}), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(ab[0][52], QStringLiteral("AB-001"));

    const QList<QStringList> cd =
        readCsv(QDir(session.folderSettings().car).filePath(QStringLiteral("CD-002.csv")));
    ASSERT_EQ(cd.size(), 1);
    EXPECT_EQ(cd[0][1], QStringLiteral("18"));
    EXPECT_EQ(cd[0][78], QStringLiteral("1"));

    // The raw form: quoted values, inner quotes doubled, CR LF, no header.
    const QString raw =
        readCp932(QDir(session.folderSettings().car).filePath(QStringLiteral("AB-001_1.csv")));
    EXPECT_TRUE(raw.startsWith(QStringLiteral("\"\",\"0\",\"0\",\"H1\",")));
    EXPECT_TRUE(raw.contains(QStringLiteral(",\"綿, 100%\",\"say \"\"hi\"\"\",")));
    EXPECT_TRUE(raw.endsWith(QStringLiteral(",\"3\"\r\n")));
    EXPECT_EQ(raw.count(QStringLiteral("\r\n")), 3);
    EXPECT_EQ(raw.count(QLatin1Char('\n')), 3);
}

TEST_P(CsvWritersTest, ArtworkAndLotFilesTakeTheNextFreeNameAndRefuseWhenAllAreUsed)
{
    addPrintRow(QStringLiteral("WRK_CSV_H"),
                {{"FILE_NM", "20261210_AB"}, {"KNR_NO", "AB-001"}, {"IMP_LN", 1}});
    addPrintRow(QStringLiteral("WRK_CSV_H"),
                {{"FILE_NM", "20261211_AB"}, {"KNR_NO", "AB-002"}, {"IMP_LN", 2}});
    addPrintRow(QStringLiteral("WRK_CSV_H"),
                {{"FILE_NM", "20261211_AB"}, {"KNR_NO", "AB-002"}, {"IMP_LN", 3}});
    touch(QDir(session.folderSettings().han).filePath(QStringLiteral("20261210_AB.csv")));
    addReportRow({{"IMP_LN", 1}, {"SU", 5}});
    touch(QDir(session.folderSettings().sht).filePath(QStringLiteral("LSHT.csv")));
    touch(QDir(session.folderSettings().sht).filePath(QStringLiteral("LSHT_1.csv")));

    ASSERT_EQ(writeArtworkFiles(db(), dialogs, progress, session.folderSettings().han),
              Outcome::Done);
    ASSERT_EQ(writeLotSheetFile(db(), dialogs, progress, session.folderSettings().sht),
              Outcome::Done);

    EXPECT_EQ(filesIn(session.folderSettings().han),
              (QStringList{"20261210_AB.csv", "20261210_AB_1.csv", "20261211_AB.csv"}));
    EXPECT_EQ(
        readCsv(QDir(session.folderSettings().han).filePath(QStringLiteral("20261211_AB.csv")))
            .size(),
        2);
    EXPECT_EQ(
        readCsv(
            QDir(session.folderSettings().han).filePath(QStringLiteral("20261211_AB.csv")))[1][78],
        QStringLiteral("2"));
    EXPECT_EQ(filesIn(session.folderSettings().sht),
              (QStringList{"LSHT.csv", "LSHT_1.csv", "LSHT_2.csv"}));
    EXPECT_EQ(
        readCsv(QDir(session.folderSettings().sht).filePath(QStringLiteral("LSHT_2.csv"))).size(),
        1);

    // LSTK.csv ... LSTK_99.csv all taken: refused, nothing overwritten.
    touch(QDir(session.folderSettings().stk).filePath(QStringLiteral("LSTK.csv")));
    for (int n = 1; n <= 99; ++n)
        touch(QDir(session.folderSettings().stk).filePath(QStringLiteral("LSTK_%1.csv").arg(n)));
    EXPECT_EQ(writeLotSealFile(db(), dialogs, progress, session.folderSettings().stk),
              Outcome::Failed);
    EXPECT_EQ(dialogs.last().text,
              QStringLiteral("LSTK_99.csv まで使用済みのため書き出せません。"));
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(filesIn(session.folderSettings().stk).size(), 100);
    EXPECT_EQ(QFileInfo(QDir(session.folderSettings().stk).filePath(QStringLiteral("LSTK_99.csv")))
                  .size(),
              0);
}

// Output files: whatever holds a name already, a file, a link planted at the temporary name,
// is neither replaced nor written through, whichever way the file system lets a name be
// taken.
TEST_P(CsvWritersTest, OutputFilesNeverReplaceOrFollowWhatHoldsAName)
{
    addPrintRow(QStringLiteral("WRK_CSV_C"), {{"KNR_NO", "OY-001"}, {"IMP_LN", 1}, {"B20", "x"}});
    const QString car = session.folderSettings().car;
    const QString target = path(QStringLiteral("elsewhere.txt"));
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    const QString planted = QDir(car).filePath(
        QStringLiteral(".OY-001.csv.%1.tmp").arg(QCoreApplication::applicationPid()));
    ASSERT_TRUE(QFile::link(target, planted));

    const QList<std::pair<ExclusiveFiles::Naming, const char *>> namings = {
        {ExclusiveFiles::Naming::Rename, "rename"},
        {ExclusiveFiles::Naming::Link, "link"},
        {ExclusiveFiles::Naming::Reserve, "reserve"}};
    QStringList expected = {QStringLiteral("OY-001.csv")};
    touch(QDir(car).filePath(expected.last()));
    for (int i = 0; i < namings.size(); ++i) {
        SCOPED_TRACE(namings[i].second);
        ExclusiveFiles::setFirstNaming(namings[i].first);
        const Outcome outcome = writeThermalFiles(db(), dialogs, progress, car);
        ExclusiveFiles::setFirstNaming(ExclusiveFiles::Naming::Rename);
        ASSERT_EQ(outcome, Outcome::Done) << dialogs.texts().join(' ').toStdString();
        expected << QStringLiteral("OY-001_%1.csv").arg(i + 1);
        QStringList present = filesIn(car);
        EXPECT_TRUE(present.removeOne(QFileInfo(planted).fileName()));
        EXPECT_EQ(present, expected);
        EXPECT_EQ(readCsv(QDir(car).filePath(expected.last())).size(), 1);
    }
    EXPECT_EQ(QFileInfo(QDir(car).filePath(QStringLiteral("OY-001.csv"))).size(), 0);
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
    EXPECT_TRUE(QFileInfo(planted).isSymLink());

    // A writer reads its folder once: a name that appears after that is still never replaced.
    FolderNames readBefore = CsvFile::namesIn(car);
    touch(QDir(car).filePath(QStringLiteral("LATE.csv")));
    CsvFile late(car, QStringLiteral("LATE"), &readBefore);
    ASSERT_TRUE(late.open());
    ASSERT_TRUE(late.writeLine(QStringList{QStringLiteral("a")}, QStringLiteral("OY-001")));
    ASSERT_TRUE(late.commit()) << late.error().toStdString();
    EXPECT_EQ(QFileInfo(late.finalPath()).fileName(), QStringLiteral("LATE_1.csv"));
    EXPECT_EQ(QFileInfo(QDir(car).filePath(QStringLiteral("LATE.csv"))).size(), 0);
}

TEST_P(CsvWritersTest, LotSealAddsUpTheSizesOfALotAndTheLotSheetKeepsEveryRow)
{
    addReportRow({{"IMP_LN", 1}, {"SIZE0", "S"}, {"SIZE_SORT_LV", 1}, {"SU", 10}, {"SPARE_SU", 5}});
    addReportRow({{"IMP_LN", 2}, {"SIZE0", "M"}, {"SIZE_SORT_LV", 2}, {"SU", 20}, {"SPARE_SU", 5}});
    addReportRow(
        {{"IMP_LN", 3}, {"SIZE0", "L"}, {"SIZE_SORT_LV", 3}, {"SU", 30}, {"SPARE_SU", 10}});
    // Another lot of the same product and colour: its own seal.
    addReportRow({{"IMP_LN", 4},
                  {"LOT_NO", "L0002"},
                  {"KNR_NO", "AB-002"},
                  {"SIZE0", "M"},
                  {"SU", 7},
                  {"SPARE_SU", 5},
                  {"ORD_NO", "P9"}});

    ASSERT_EQ(writeLotSealFile(db(), dialogs, progress, session.folderSettings().stk),
              Outcome::Done);
    ASSERT_EQ(writeLotSheetFile(db(), dialogs, progress, session.folderSettings().sht),
              Outcome::Done);

    const QList<QStringList> seal =
        readCsv(QDir(session.folderSettings().stk).filePath(QStringLiteral("LSTK.csv")));
    ASSERT_EQ(seal.size(), 2);
    EXPECT_EQ(seal[0], (QStringList{"001", "2026/12/10", "AB1234", "60", "L0001", "Q1", "RD", "C01",
                                    "1", "AB-001", "AB", "20", "", ""}));
    EXPECT_EQ(seal[1][3], QStringLiteral("7"));
    EXPECT_EQ(seal[1][9], QStringLiteral("AB-002"));

    const QList<QStringList> sheet =
        readCsv(QDir(session.folderSettings().sht).filePath(QStringLiteral("LSHT.csv")));
    ASSERT_EQ(sheet.size(), 4);
    EXPECT_EQ(sheet[0], (QStringList{"002", "2026/12/10", "AB1234", "S", "10", " AB-001", "L0001",
                                     "1", "5", "AB", "", "C01", "Q1", "B01", "RD"}));
    EXPECT_EQ((QStringList{sheet[0][3], sheet[1][3], sheet[2][3]}), (QStringList{"S", "M", "L"}));
    EXPECT_EQ(sheet[3][5], QStringLiteral("P9 AB-002"));

    // Past 999 a control number takes more digits and still sorts as a number.
    db().exec(QStringLiteral("UPDATE WRK_RPT SET KNR_NO = 'AB-1000' WHERE IMP_LN < 4"));
    db().exec(QStringLiteral("UPDATE WRK_RPT SET KNR_NO = 'AB-999' WHERE IMP_LN = 4"));
    ASSERT_EQ(writeLotSealFile(db(), dialogs, progress, session.folderSettings().stk),
              Outcome::Done);
    ASSERT_EQ(writeLotSheetFile(db(), dialogs, progress, session.folderSettings().sht),
              Outcome::Done);
    const QList<QStringList> later =
        readCsv(QDir(session.folderSettings().stk).filePath(QStringLiteral("LSTK_1.csv")));
    ASSERT_EQ(later.size(), 2);
    EXPECT_EQ((QStringList{later[0][9], later[1][9]}), (QStringList{"AB-999", "AB-1000"}));
    EXPECT_EQ(readCsv(QDir(session.folderSettings().sht).filePath(QStringLiteral("LSHT_1.csv")))
                  .at(0)
                  .at(5),
              QStringLiteral("P9 AB-999"));
}

TEST_P(CsvWritersTest, EmptyTablesWriteNoFileAndSucceed)
{
    EXPECT_EQ(writeThermalFiles(db(), dialogs, progress, session.folderSettings().car),
              Outcome::Done);
    EXPECT_EQ(writeArtworkFiles(db(), dialogs, progress, session.folderSettings().han),
              Outcome::Done);
    EXPECT_EQ(writeLotSealFile(db(), dialogs, progress, session.folderSettings().stk),
              Outcome::Done);
    EXPECT_EQ(writeLotSheetFile(db(), dialogs, progress, session.folderSettings().sht),
              Outcome::Done);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    for (const QString &folder : {session.folderSettings().car, session.folderSettings().han,
                                  session.folderSettings().stk, session.folderSettings().sht})
        EXPECT_TRUE(filesIn(folder).isEmpty()) << folder.toStdString();
}

TEST_P(CsvWritersTest, TextCp932CannotHoldFailsTheFileAndLeavesNothingHalfWritten)
{
    addReportRow({{"IMP_LN", 1}, {"SU", 1}});
    addReportRow({{"IMP_LN", 2}, {"SU", 1}, {"KNR_NO", "AB-009"}, {"COL", "R🍣D"}});
    // Look-alikes typed on Linux are not refused: they are written as CP932 holds them.
    addReportRow({{"IMP_LN", 3}, {"SU", 1}, {"KNR_NO", "AB-010"}, {"COL", "〜−"}});

    EXPECT_EQ(writeLotSheetFile(db(), dialogs, progress, session.folderSettings().sht),
              Outcome::Failed);
    EXPECT_EQ(dialogs.last().text,
              QStringLiteral("管理No AB-009 に出力できない文字「🍣」があります。"));
    EXPECT_TRUE(filesIn(session.folderSettings().sht).isEmpty());

    db().exec(QStringLiteral("DELETE FROM WRK_RPT WHERE IMP_LN = 2"));
    dialogs.clear();
    ASSERT_EQ(writeLotSheetFile(db(), dialogs, progress, session.folderSettings().sht),
              Outcome::Done);
    const QList<QStringList> sheet =
        readCsv(QDir(session.folderSettings().sht).filePath(QStringLiteral("LSHT.csv")));
    ASSERT_EQ(sheet.size(), 2);
    EXPECT_EQ(sheet[1][14], QStringLiteral("～－"));
}

TEST_P(CsvWritersTest, AMissingOrUnwritableFolderFailsTheWriterWithItsDescription)
{
    addReportRow({{"IMP_LN", 1}, {"SU", 1}});
    const QString missing = path(QStringLiteral("out/なし"));
    EXPECT_EQ(writeLotSealFile(db(), dialogs, progress, missing), Outcome::Failed);
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_TRUE(dialogs.last().text.contains(QStringLiteral("LSTK.csv")));

    QFile::setPermissions(session.folderSettings().sht,
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool writable =
        QFile(QDir(session.folderSettings().sht).filePath(QStringLiteral("probe")))
            .open(QIODevice::WriteOnly);
    QFile::remove(QDir(session.folderSettings().sht).filePath(QStringLiteral("probe")));
    if (!writable) { // running as root writes anyway
        EXPECT_EQ(writeLotSheetFile(db(), dialogs, progress, session.folderSettings().sht),
                  Outcome::Failed);
        EXPECT_TRUE(filesIn(session.folderSettings().sht).isEmpty());
    }
    QFile::setPermissions(session.folderSettings().sht,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
