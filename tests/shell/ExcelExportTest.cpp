#include "DbTest.h"

#include "Desktop.h"
#include "ExcelExport.h"
#include "Installation.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

namespace {

QString unzipMember(const QString &file, const QString &member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, member});
    unzip.waitForFinished(30000);
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

QStringList exportFiles()
{
    return QDir(Installation::exportDir()).entryList(QDir::Files);
}

// Text of every cell of the sheet in order, as "A1=text" ("A2#12.5" for numbers).
QStringList cells(const QString &sheetXml)
{
    static const QRegularExpression cell(QStringLiteral("<c ([^>]*?)(/>|>(.*?)</c>)"));
    static const QRegularExpression ref(QStringLiteral("r=\"([A-Z]+[0-9]+)\""));
    static const QRegularExpression text(QStringLiteral("<t[^>]*>(.*?)</t>"));
    static const QRegularExpression value(QStringLiteral("<v>(.*?)</v>"));
    QStringList out;
    for (auto it = cell.globalMatch(sheetXml); it.hasNext();) {
        const auto m = it.next();
        const QString name = ref.match(m.captured(1)).captured(1);
        const QString body = m.captured(3);
        if (m.captured(1).contains(QStringLiteral("t=\"inlineStr\"")))
            out << name + QLatin1Char('=') + text.match(body).captured(1);
        else if (value.match(body).hasMatch())
            out << name + QLatin1Char('#') + value.match(body).captured(1);
        else
            out << name + QLatin1Char('=');
    }
    return out;
}

} // namespace

class ExcelExportTest : public DbTest {
protected:
    void addLines()
    {
        db().exec(QStringLiteral(
            "INSERT INTO TBL_ORDER(IMP_DATE, IMP_LN, KNR_NO, SU, FC_NM) VALUES "
            "('20261208', 1, 'AB-001', 120, '東京第一工場'), "
            "('20261208', 2, 'AB-002', 5, 'Osaka'), ('20261208', 3, 'AB-003', 0, '')"));
        db().exec(QStringLiteral("INSERT INTO MST_CAR(CAR_CD, PRICE) VALUES('N1', 12.5)"));
    }
    const QString sql = QStringLiteral(
        "Select IMP_DATE AS \"処理日\", IMP_LN AS \"行\", KNR_NO AS \"管理No\", SU AS \"数量\", "
        "FC_NM AS \"工場名\" From TBL_ORDER Order By IMP_LN ");
};
INSTANTIATE_ENGINES(ExcelExportTest);

TEST_P(ExcelExportTest, SheetHasTheAliasesAsHeaderAndNumbersAsNumbers)
{
    addLines();
    const QString file = ExcelExport::writeFile(db(), dialogs, progress, sql);
    ASSERT_FALSE(file.isEmpty());
    EXPECT_TRUE(file.startsWith(Installation::exportDir()));
    EXPECT_TRUE(file.endsWith(QStringLiteral(".xlsx")));
    EXPECT_EQ(exportFiles(), QStringList{QFileInfo(file).fileName()}); // no working file left

    const QString sheet = unzipMember(file, QStringLiteral("xl/worksheets/sheet1.xml"));
    const QStringList expected = {QStringLiteral("A1=処理日"),   QStringLiteral("B1=行"),
                                  QStringLiteral("C1=管理No"),   QStringLiteral("D1=数量"),
                                  QStringLiteral("E1=工場名"),   QStringLiteral("A2=20261208"),
                                  QStringLiteral("B2#1"),        QStringLiteral("C2=AB-001"),
                                  QStringLiteral("D2#120"),      QStringLiteral("E2=東京第一工場"),
                                  QStringLiteral("A3=20261208"), QStringLiteral("B3#2"),
                                  QStringLiteral("C3=AB-002"),   QStringLiteral("D3#5"),
                                  QStringLiteral("E3=Osaka"),    QStringLiteral("A4=20261208"),
                                  QStringLiteral("B4#3"),        QStringLiteral("C4=AB-003"),
                                  QStringLiteral("D4#0"),        QStringLiteral("E4=")};
    EXPECT_EQ(cells(sheet), expected) << sheet.toStdString();
    EXPECT_EQ(sheet.count(QStringLiteral("<row ")), 4);

    // The sheet is the workbook's "sheet1".
    EXPECT_TRUE(unzipMember(file, QStringLiteral("xl/workbook.xml"))
                    .contains(QStringLiteral("name=\"sheet1\"")));

    // Column widths fit the content; a full-width character counts double.
    static const QRegularExpression col(
        QStringLiteral("<col min=\"(\\d+)\" max=\"\\d+\" width=\"([0-9.]+)\""));
    QMap<int, double> widths;
    for (auto it = col.globalMatch(sheet); it.hasNext();) {
        const auto m = it.next();
        widths[m.captured(1).toInt()] = m.captured(2).toDouble();
    }
    ASSERT_EQ(widths.size(), 5);
    EXPECT_GE(widths[5], 12.0); // 東京第一工場: six wide characters
    EXPECT_LT(widths[2], widths[3]);
}

TEST_P(ExcelExportTest, HeaderFontBoldAndThinBordersOnEveryCell)
{
    addLines();
    const QString file = ExcelExport::writeFile(db(), dialogs, progress, sql);
    ASSERT_FALSE(file.isEmpty());
    const QString styles = unzipMember(file, QStringLiteral("xl/styles.xml"));
    EXPECT_TRUE(styles.contains(QStringLiteral("<name val=\"ＭＳ Ｐゴシック\"/>")))
        << styles.toStdString();

    // Style of each cell -> its xf; every xf used must have a border of thin lines.
    const QString xfsBlock =
        styles.section(QStringLiteral("<cellXfs"), 1).section(QStringLiteral("</cellXfs>"), 0, 0);
    static const QRegularExpression xfRe(QStringLiteral("<xf [^>]*>"));
    QStringList xfs;
    for (auto it = xfRe.globalMatch(xfsBlock); it.hasNext();)
        xfs << it.next().captured(0);
    const QString fontsBlock =
        styles.section(QStringLiteral("<fonts"), 1).section(QStringLiteral("</fonts>"), 0, 0);
    const QStringList fonts = fontsBlock.split(QStringLiteral("<font>")).mid(1);
    const QString bordersBlock =
        styles.section(QStringLiteral("<borders"), 1).section(QStringLiteral("</borders>"), 0, 0);
    const QStringList borders = bordersBlock.split(QStringLiteral("<border>")).mid(1);

    const QString sheet = unzipMember(file, QStringLiteral("xl/worksheets/sheet1.xml"));
    static const QRegularExpression cellRe(QStringLiteral("<c r=\"([A-Z]+)([0-9]+)\"([^>]*)"));
    static const QRegularExpression attr(QStringLiteral("(\\w+)=\"(\\d+)\""));
    int checked = 0;
    for (auto it = cellRe.globalMatch(sheet); it.hasNext();) {
        const auto m = it.next();
        const QRegularExpressionMatch s =
            QRegularExpression(QStringLiteral("s=\"(\\d+)\"")).match(m.captured(3));
        ASSERT_TRUE(s.hasMatch()) << "no style on " << m.captured(1).toStdString();
        const QString xf = xfs.value(s.captured(1).toInt());
        const int borderId =
            QRegularExpression(QStringLiteral("borderId=\"(\\d+)\"")).match(xf).captured(1).toInt();
        const QString border = borders.value(borderId);
        for (const char *side : {"left", "right", "top", "bottom"})
            EXPECT_TRUE(
                border.contains(QStringLiteral("<%1 style=\"thin\"").arg(QLatin1String(side))))
                << m.captured(1).toStdString() << m.captured(2).toStdString();
        const int fontId =
            QRegularExpression(QStringLiteral("fontId=\"(\\d+)\"")).match(xf).captured(1).toInt();
        const QString font = fonts.value(fontId);
        const bool headerRow = m.captured(2) == QLatin1String("1");
        EXPECT_EQ(font.contains(QStringLiteral("<b/>")), headerRow);
        EXPECT_EQ(font.contains(QStringLiteral("ＭＳ Ｐゴシック")), headerRow);
        ++checked;
    }
    EXPECT_EQ(checked, 20); // 4 rows x 5 columns, the blank cell included
}

TEST_P(ExcelExportTest, EmptyResultWritesAndOpensNothing)
{
    exportToExcel(&db(), sql);
    exportToExcel(&db(), QString()); // a screen that has shown nothing yet
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(exportFiles().isEmpty());
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_P(ExcelExportTest, DeskRoutineOpensTheWrittenFile)
{
    addLines();
    exportToExcel(&db(), QStringLiteral("Select CAR_CD, PRICE AS \"単価\" From MST_CAR"));
    ASSERT_EQ(opened.size(), 1);
    const QString sheet = unzipMember(opened[0], QStringLiteral("xl/worksheets/sheet1.xml"));
    EXPECT_EQ(cells(sheet).mid(2),
              QStringList({QStringLiteral("A2=N1"), QStringLiteral("B2#12.5")}))
        << sheet.toStdString();
    // The header is the name as the statement wrote it, also where PostgreSQL folds it.
    EXPECT_EQ(cells(sheet).mid(0, 2),
              QStringList({QStringLiteral("A1=CAR_CD"), QStringLiteral("B1=単価")}));

    // A desktop with no program for the sheet: the operator is told where it was written.
    Desktop::setOpener(nullptr);
    exportToExcel(&db(), QStringLiteral("Select CAR_CD From MST_CAR"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    const QString told = dialogs.shown.first().text;
    const int at = told.indexOf(Installation::exportDir());
    ASSERT_GE(at, 0) << told.toStdString();
    EXPECT_TRUE(QFileInfo(told.mid(at)).isFile()) << told.toStdString();
}

TEST_P(ExcelExportTest, MoreRowsThanTheSheetHoldsIsRefusedAndNothingWritten)
{
    addLines();
    const QString file = ExcelExport::writeFile(db(), dialogs, progress, sql, 2);
    EXPECT_TRUE(file.isEmpty());
    EXPECT_TRUE(exportFiles().isEmpty());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.last().text,
              QStringLiteral("行数が多すぎるためEXCELに出力できません。（上限 1,048,575 行）"));
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(ExcelExport::kMaxDataRows, 1048575);

    // Exactly at the limit is written.
    EXPECT_FALSE(ExcelExport::writeFile(db(), dialogs, progress, sql, 3).isEmpty());
}

TEST_P(ExcelExportTest, FailingStatementReachesTheCallerAndLeavesNoFile)
{
    EXPECT_THROW(ExcelExport::writeFile(db(), dialogs, progress,
                                        QStringLiteral("Select * From NO_SUCH_TABLE")),
                 DbError);
    EXPECT_TRUE(exportFiles().isEmpty());
}

TEST_P(ExcelExportTest, LargeExportIsStreamedWithProgress)
{
    BulkInserter bulk(
        db(), QStringLiteral("TBL_ERR"),
        {QStringLiteral("IMP_DATE"), QStringLiteral("IMP_LN"), QStringLiteral("ERR1")});
    for (int i = 1; i <= 40000; ++i)
        bulk.add({QStringLiteral("20261208"), i, QStringLiteral("AB-%1").arg(i)});
    bulk.finish();
    const QString file =
        ExcelExport::writeFile(db(), dialogs, progress,
                               QStringLiteral("Select IMP_LN, ERR1 From TBL_ERR Order By IMP_LN"));
    ASSERT_FALSE(file.isEmpty());
    EXPECT_EQ(progress.lastTotal, 40000);
    EXPECT_EQ(progress.lastStep, 40000);
    EXPECT_FALSE(progress.active);
    const QString sheet = unzipMember(file, QStringLiteral("xl/worksheets/sheet1.xml"));
    EXPECT_EQ(sheet.count(QStringLiteral("<row ")), 40001);
    EXPECT_TRUE(sheet.contains(QStringLiteral("<c r=\"B40001\"")));
}

TEST(ExcelDisplayWidthTest, WideCharactersCountDouble)
{
    EXPECT_EQ(ExcelExport::displayWidth(QStringLiteral("AB-001")), 6);
    EXPECT_EQ(ExcelExport::displayWidth(QStringLiteral("管理No")), 6);
    EXPECT_EQ(ExcelExport::displayWidth(QStringLiteral("ｶﾀｶﾅ")), 4); // half-width kana
    EXPECT_EQ(ExcelExport::displayWidth(QStringLiteral("ＡＢ")), 4);
    EXPECT_EQ(ExcelExport::displayWidth(QStringLiteral("𠮷")), 2);
}
