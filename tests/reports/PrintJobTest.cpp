#include "ReportTest.h"

#include "Installation.h"
#include "NameProductionListReport.h"
#include "OrderListReport.h"
#include "QualityCardReport.h"
#include "QualityCardSelection.h"
#include "TotalListReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

class PrintJobTest : public ReportTest {
protected:
    // The text pdftotext reads from a PDF, blanks removed (their width depends on the
    // layout). Compatibility forms (a CJK radical for 工) are folded so that the check reads
    // like the page.
    static QString pdfText(const QString &path)
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"),
                      {QStringLiteral("-layout"), path, QStringLiteral("-")});
        if (!process.waitForFinished(30000))
            return QString();
        return QString::fromUtf8(process.readAllStandardOutput())
            .normalized(QString::NormalizationForm_KC)
            .remove(QRegularExpression(QStringLiteral("\\s")));
    }

    void addRun()
    {
        addLine({{QStringLiteral("LOT_NO"), QStringLiteral("L2600003")},
                 {QStringLiteral("KNR_NO"), QStringLiteral("TK-001")},
                 {QStringLiteral("FC_RG"), QStringLiteral("TK")},
                 {QStringLiteral("FC_NM"), QStringLiteral("東京第一縫製工場")},
                 {QStringLiteral("ADRESS1"), QStringLiteral("東京都墨田区両国2-10-8")},
                 {QStringLiteral("CAR_CD"), QStringLiteral("CA01")},
                 {QStringLiteral("COL"), QStringLiteral("ホワイト")},
                 {QStringLiteral("SHO_NM1"), QStringLiteral("洗濯ネーム")},
                 {QStringLiteral("SHO_NM2"), QStringLiteral("品質表示ネーム")},
                 {QStringLiteral("D_SHO_CD"), QStringLiteral("D-1001")},
                 {QStringLiteral("SU"), 1234}});
    }
};
INSTANTIATE_ENGINES(PrintJobTest);

TEST_P(PrintJobTest, EachListPrintsARealPdfWithItsJapaneseText)
{
    addRun();
    addQuality(QStringLiteral("Q001"), {{QStringLiteral("BUI1"), QStringLiteral("表地")},
                                        {QStringLiteral("SOS1"), QStringLiteral("ポリエステル")},
                                        {QStringLiteral("KON1"), QStringLiteral("65%")},
                                        {QStringLiteral("USER_NM"), QStringLiteral("山田")}});
    ASSERT_EQ(OrderListReport::print(engine, request()), Outcome::Done);
    ASSERT_EQ(NameProductionListReport::print(engine, request()), Outcome::Done);
    ASSERT_EQ(TotalListReport::print(engine, request()), Outcome::Done);
    const QList<QSqlRecord> qualities = db().rows(QStringLiteral("Select * From MST_QUL"));
    ASSERT_EQ(QualityCardReport::print(engine, request(), qualities), Outcome::Done);
    ASSERT_EQ(opened.size(), 4);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join(QLatin1Char('\n')).toStdString();

    const QList<QStringList> expected = {
        {"OrderList_", "受注情報", "工場名", "東京第一縫製工場", "L2600003", "TK-001", "CA01",
         "1,234", "ホワイト", "合計数量", "2026/12/08 10:00:00"},
        {"CarList_", "ネーム生産情報", "品質表示ネーム", "サ", "資材集計", "資材合計表",
         "品質表示ネーム 計", "総合計"},
        {"TotalList_", "合計表", "東京都墨田区両国2-10-8", "洗濯ネーム", "D-1001", "1,234",
         "メーカー資材CD"},
        {"QulMst_", "品質マスタ", "Q001", "表地", "ポリエステル", "65%", "山田", "2026/12/01"},
    };
    for (int i = 0; i < 4; ++i) {
        const QString file = QFileInfo(opened[i]).fileName();
        EXPECT_TRUE(file.startsWith(expected[i][0])) << file.toStdString();
        EXPECT_TRUE(QFileInfo(opened[i]).absolutePath() ==
                    QDir(dir()).filePath(QStringLiteral("print")));
        const QString text = pdfText(opened[i]);
        for (int k = 1; k < expected[i].size(); ++k)
            EXPECT_TRUE(text.contains(QString(expected[i][k]).remove(QLatin1Char(' '))))
                << file.toStdString() << " lacks " << expected[i][k].toStdString();
    }
    // Each order list says which import date it belongs to, on every page's header.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(
            pdfText(opened[i]).contains(QRegularExpression(QStringLiteral("処理.2026/12/08"))))
            << opened[i].toStdString();
}

TEST_P(PrintJobTest, MissingLayoutStopsWithTheUnexpectedErrorMessage)
{
    addRun();
    QTemporaryDir emptyShare;
    const QByteArray saved = qgetenv("OSTERA_SHARE_DIR");
    qputenv("OSTERA_SHARE_DIR", emptyShare.path().toLocal8Bit());
    const Outcome outcome = OrderListReport::print(engine, request());
    if (saved.isEmpty())
        qunsetenv("OSTERA_SHARE_DIR");
    else
        qputenv("OSTERA_SHARE_DIR", saved);

    EXPECT_EQ(outcome, Outcome::Failed);
    ASSERT_EQ(dialogs.shown.size(), 1);
    const Shown &shown = dialogs.shown[0];
    EXPECT_TRUE(shown.text.startsWith(QStringLiteral("予期しないエラーが発生しました。\r\n\r\n")));
    EXPECT_TRUE(shown.text.contains(QStringLiteral("sys_crf/cor_OrderList.crf")));
    EXPECT_EQ(shown.title, QStringLiteral("印刷を強制終了"));
    EXPECT_EQ(shown.icon, Icon::Error);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_P(PrintJobTest, AFailingQueryShowsTheDatabaseTextWithoutItsNumber)
{
    db().exec(QStringLiteral("DROP TABLE WRK_RPT"));
    EXPECT_EQ(OrderListReport::print(engine, request()), Outcome::Failed);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Error);
    // The database's own text (PostgreSQL's ends in its code), without the number appended.
    const QString numbered = db().isPostgreSQL() ? QStringLiteral("\\(\\w+\\)\\(\\w+\\)$")
                                                 : QStringLiteral("\\(\\w+\\)$");
    EXPECT_FALSE(dialogs.shown[0].text.contains(QRegularExpression(numbered)))
        << dialogs.shown[0].text.toStdString();
}

TEST_P(PrintJobTest, UnknownPrinterIsRefusedAtStartUp)
{
    addRun();
    EXPECT_EQ(
        NameProductionListReport::print(engine, request(QStringLiteral("存在しないプリンタ"))),
        Outcome::Refused);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("プリンタ名が正しくありません。"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("プリントモジュール内の初期化処理"));
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Error);
    EXPECT_TRUE(engine.pages().isEmpty());
}

TEST_P(PrintJobTest, InstallationLayoutWinsAndAFailureMidJobKeepsThePagesAlreadyOutput)
{
    // The installation's own layout lacks the footer total: the first page goes out, the
    // second fails with the engine's own description.
    QFile shipped(Installation::dataFile(QStringLiteral("sys_crf/cor_OrderList.crf")));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    QJsonObject root = QJsonDocument::fromJson(shipped.readAll()).object();
    QJsonArray items;
    for (const QJsonValue &item : root.value(QStringLiteral("items")).toArray())
        if (item.toObject().value(QStringLiteral("name")).toString() != QLatin1String("NameKei"))
            items.append(item);
    root.insert(QStringLiteral("items"), items);
    QDir(dir()).mkpath(QStringLiteral("sys_crf"));
    QFile own(path(QStringLiteral("sys_crf/cor_OrderList.crf")));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write(QJsonDocument(root).toJson());
    own.close();

    addLines(30);
    EXPECT_EQ(OrderListReport::print(engine, request()), Outcome::Failed);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("NameKei")));
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Error);
    EXPECT_EQ(engine.pages().size(), 1);
    EXPECT_EQ(opened.size(), 1);
}

TEST_P(PrintJobTest, BatchPrintsEachListAndRefusesWhatItCannotPrint)
{
    Run empty = runOstera({QStringLiteral("print"), QStringLiteral("OrderList")});
    EXPECT_EQ(empty.status, 1);
    EXPECT_TRUE(empty.err.contains(QStringLiteral("レコードがありません。")))
        << empty.err.toStdString();

    addRun();
    addQuality(QStringLiteral("Q001"),
               {{QStringLiteral("TIME_STAMP"), QStringLiteral("2004/05/06 10:11:12")}});
    for (const char *kind : {"OrderList", "CarList", "TotalList"}) {
        const Run run = runOstera({QStringLiteral("print"), QLatin1String(kind)});
        EXPECT_EQ(run.status, 0) << kind << run.err.toStdString();
        const QString pdf = run.out.trimmed();
        EXPECT_TRUE(pdf.endsWith(QStringLiteral(".pdf")) && QFileInfo::exists(pdf))
            << pdf.toStdString();
    }
    Run cards = runOstera({QStringLiteral("print"), QStringLiteral("QulMst"),
                           QStringLiteral("--date"), QStringLiteral("2004/05/06")});
    EXPECT_EQ(cards.status, 0) << cards.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(cards.out.trimmed()));
    cards = runOstera({QStringLiteral("print"), QStringLiteral("QulMst"), QStringLiteral("--date"),
                       QStringLiteral("2004/05/07")});
    EXPECT_EQ(cards.status, 1);
    EXPECT_TRUE(cards.err.contains(QStringLiteral("レコードがありません。")));

    const Run unknown = runOstera({QStringLiteral("print"), QStringLiteral("TotalList"),
                                   QStringLiteral("--to"), QStringLiteral("存在しないプリンタ")});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("プリンタ名が正しくありません。")));
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("失敗しました。")));
    EXPECT_TRUE(unknown.out.isEmpty());

    EXPECT_EQ(runOstera({QStringLiteral("print"), QStringLiteral("Bogus")}).status, 2);
    EXPECT_EQ(runOstera({QStringLiteral("print"), QStringLiteral("OrderList"),
                         QStringLiteral("--date"), QStringLiteral("2004/05/06")})
                  .status,
              2);
}
