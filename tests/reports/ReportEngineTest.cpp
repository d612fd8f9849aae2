#include "ReportEngine.h"
#include "Clock.h"
#include "Desktop.h"
#include "Installation.h"
#include "LayoutDesign.h"
#include "RepeatBlanking.h"
#include "ReportError.h"
#include "ReportLayout.h"
#include "ReportPrintSettings.h"
#include "ReportValues.h"
#include "globals.h"

#include <QFile>
#include <QSqlField>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const char *kSmallLayout = R"({
  "paper": {"size": "A4", "orientation": "landscape"},
  "sections": {"Foot": true},
  "items": [
    {"type": "label", "text": "試験", "x": 10, "y": 10, "w": 40, "h": 8},
    {"type": "field", "name": "Title", "x": 60, "y": 10, "w": 80, "h": 8},
    {"type": "field", "name": "Line", "x": 10, "y": 30, "w": 60, "h": 5, "repeat": 3, "dy": 5.2},
    {"type": "frame", "name": "Box", "x": 5, "y": 5, "w": 287, "h": 200},
    {"type": "field", "name": "Total", "x": 10, "y": 190, "w": 40, "h": 8, "section": "Foot"}
  ]
})";

class ReportEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        resetGlobals();
        gInstallDir = m_dir.path();
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)));
        Desktop::setOpener([this](const QString &file) { opened << file; });
    }
    void TearDown() override
    {
        Desktop::setOpener(nullptr);
        Clock::setFixed(QDateTime());
        resetGlobals();
    }
    QString writeLayout(const QByteArray &json)
    {
        const QString path = m_dir.filePath(QStringLiteral("test.crf"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(json);
        return path;
    }
    // A job on the PDF printer with the small layout open.
    ReportLayout &startJob(ReportEngine &engine)
    {
        EXPECT_EQ(engine.init(), Outcome::Done);
        EXPECT_EQ(engine.startJob(QStringLiteral("Test"), QStringLiteral("PDFファイル")),
                  Outcome::Done);
        engine.printSettings().setCopies(1);
        ReportLayout &layout = engine.openLayout(writeLayout(kSmallLayout));
        EXPECT_EQ(engine.printSettings().applyPaper(layout), Outcome::Done);
        return layout;
    }

    QStringList opened;

private:
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ReportEngineTest, RepeatedItemsAndCardsGetNumberedNamesAndPlaces)
{
    const LayoutDesign design = LayoutDesign::fromJson(R"({
      "sections": {"Footer": false},
      "items": [
        {"type": "field", "name": "LotNo", "x": 10, "y": 40, "w": 30, "h": 5, "repeat": 29, "dy": 5.2},
        {"type": "label", "text": "{#}", "x": 0, "y": 40, "w": 5, "h": 5, "repeat": 3, "dy": 5.2},
        {"type": "group", "index": "b", "repeat": 7, "x": 10, "y": 20, "dy": 38,
         "items": [
           {"type": "frame", "name": "Waku{b}", "w": 190, "h": 36, "section": "Footer"},
           {"type": "field", "name": "BUI{b}_{j}", "x": 70, "y": 10, "w": 20, "h": 5,
            "index": "j", "repeat": 5, "start": 6, "dy": 5}
         ]}
      ]})",
                                                       QStringLiteral("test"));
    EXPECT_TRUE(design.hasField(QStringLiteral("LotNo1")));
    EXPECT_TRUE(design.hasField(QStringLiteral("LotNo29")));
    EXPECT_FALSE(design.hasField(QStringLiteral("LotNo30")));
    EXPECT_TRUE(design.hasField(QStringLiteral("BUI2_6")));
    EXPECT_TRUE(design.hasField(QStringLiteral("BUI7_10")));
    EXPECT_FALSE(design.hasField(QStringLiteral("BUI1_5")));
    EXPECT_TRUE(design.hasName(QStringLiteral("Waku7")));
    EXPECT_FALSE(design.sectionShownAtOpen(QStringLiteral("Footer")));
    for (const LayoutDesign::Item &item : design.items()) {
        if (item.name == QLatin1String("LotNo29")) {
            EXPECT_NEAR(item.rect.y(), 40 + 28 * 5.2, 1e-9);
        }
        if (item.name == QLatin1String("BUI3_7")) {
            EXPECT_NEAR(item.rect.x(), 80, 1e-9);
            EXPECT_NEAR(item.rect.y(), 20 + 2 * 38 + 10 + 5, 1e-9);
        }
        if (item.name == QLatin1String("Waku2")) {
            EXPECT_EQ(item.section, QStringLiteral("Footer"));
        }
        if (item.kind == LayoutDesign::Kind::Label) {
            EXPECT_TRUE(QStringList({"1", "2", "3"}).contains(item.text))
                << item.text.toStdString();
        }
    }
}

TEST_F(ReportEngineTest, LayoutsThatCannotPrintAreRefusedWithTheirFileNamed)
{
    const QList<QByteArray> bad = {
        "{ not json",
        R"({"items": [{"type": "field", "name": "A", "section": "Nowhere"}]})",
        R"({"items": [{"type": "field", "name": "A"}, {"type": "field", "name": "A"}]})",
        R"({"paper": {"size": "Q9"}, "items": []})",
        R"({"items": [{"type": "field"}]})",
        R"({"items": [{"type": "circle"}]})",
    };
    for (const QByteArray &json : bad) {
        try {
            LayoutDesign::fromJson(json, QStringLiteral("cor_Bad.crf"));
            ADD_FAILURE() << "accepted: " << json.toStdString();
        } catch (const ReportError &e) {
            EXPECT_TRUE(e.description().contains(QStringLiteral("cor_Bad.crf")));
        }
    }
    try {
        LayoutDesign::load(QStringLiteral("/no/such/cor_X.crf"));
        ADD_FAILURE() << "a missing file was accepted";
    } catch (const ReportError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("/no/such/cor_X.crf")));
    }
}

TEST_F(ReportEngineTest, PagesKeepWhatWasShownAndThePdfOpensOnceAtTheEnd)
{
    ReportEngine engine;
    engine.setRecording(true);
    ReportLayout &layout = startJob(engine);
    layout.setField(QStringLiteral("Title"), QStringLiteral("一頁目"));
    layout.setField(QStringLiteral("Line2"), qint64(1234));
    layout.setField(QStringLiteral("Total"), QStringLiteral("99"));
    layout.showSection(QStringLiteral("Foot"), false);
    layout.showField(QStringLiteral("Box"), false);
    layout.outputPage();
    layout.clearPage();
    EXPECT_EQ(layout.value(QStringLiteral("Title")), QString());
    layout.setField(QStringLiteral("Line3"), QStringLiteral("次"));
    layout.outputPage();
    EXPECT_TRUE(opened.isEmpty());
    engine.endJob();
    engine.close();

    ASSERT_EQ(engine.pages().size(), 2);
    const RecordedPage &first = engine.pages()[0];
    EXPECT_EQ(first.text(QStringLiteral("Title")), QStringLiteral("一頁目"));
    EXPECT_EQ(first.text(QStringLiteral("Line2")), QStringLiteral("1234"));
    EXPECT_EQ(first.text(QStringLiteral("Total")), QString()); // its section is hidden
    EXPECT_EQ(first.values.value(QStringLiteral("Total")), QStringLiteral("99"));
    EXPECT_FALSE(first.itemShown(QStringLiteral("Box")));
    // Clearing a page empties the values; what is hidden stays hidden.
    const RecordedPage &second = engine.pages()[1];
    EXPECT_EQ(second.text(QStringLiteral("Title")), QString());
    EXPECT_EQ(second.text(QStringLiteral("Line3")), QStringLiteral("次"));
    EXPECT_FALSE(second.sectionShown(QStringLiteral("Foot")));
    EXPECT_FALSE(second.itemShown(QStringLiteral("Box")));

    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], engine.pdfPath());
    EXPECT_TRUE(opened[0].startsWith(Installation::printDir()));
    QFile pdf(opened[0]);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
}

TEST_F(ReportEngineTest, NamesTheLayoutLacksAreRefused)
{
    ReportEngine engine;
    ReportLayout &layout = startJob(engine);
    EXPECT_THROW(layout.setField(QStringLiteral("Line4"), QStringLiteral("x")), ReportError);
    EXPECT_THROW(layout.showField(QStringLiteral("Nothing"), true), ReportError);
    EXPECT_THROW(layout.showSection(QStringLiteral("Footer"), true), ReportError);
    engine.close();
    EXPECT_TRUE(opened.isEmpty()); // a job without pages prints nothing
}

TEST_F(ReportEngineTest, JobNeedsAReadyEngineAndAKnownPrinter)
{
    ReportEngine engine;
    EXPECT_EQ(engine.startJob(QStringLiteral("Test"), QStringLiteral("PDFファイル")),
              Outcome::Failed);
    EXPECT_EQ(engine.init(), Outcome::Done);
    EXPECT_EQ(engine.startJob(QStringLiteral("Test"), QStringLiteral("どこにもないプリンタ")),
              Outcome::Refused);
    EXPECT_THROW(engine.printSettings(), ReportError);
    EXPECT_EQ(engine.startJob(QStringLiteral("Test"), QStringLiteral("PDF")), Outcome::Done);
    EXPECT_FALSE(engine.pdfPath().isEmpty());
}

TEST_F(ReportEngineTest, ShippedLayoutsHoldEveryNameTheListsFillAndNoMore)
{
    auto layout = [](const char *kind) {
        return LayoutDesign::load(
            Installation::dataFile(QStringLiteral("sys_crf/cor_%1.crf").arg(QLatin1String(kind))));
    };
    auto expectLines = [](const LayoutDesign &d, const QStringList &names, int lines) {
        for (const QString &name : names) {
            EXPECT_TRUE(d.hasField(name + QString::number(lines))) << name.toStdString();
            EXPECT_FALSE(d.hasField(name + QString::number(lines + 1))) << name.toStdString();
        }
    };
    auto expectFields = [](const LayoutDesign &d, const QStringList &names) {
        for (const QString &name : names)
            EXPECT_TRUE(d.hasField(name)) << name.toStdString();
    };
    const QStringList group = {"SetBi", "OrderDate", "Brand", "FR", "FC", "FN", "Date", "Page"};

    const LayoutDesign order = layout("OrderList");
    EXPECT_EQ(order.orientation(), QPageLayout::Landscape);
    expectFields(order, group + QStringList{"NameKei"});
    expectLines(order, {"LotNo", "KanriNo", "Tuki", "Hinban", "Name", "Su", "Color", "SizeView"},
                29);
    EXPECT_TRUE(order.hasSection(QStringLiteral("Footer")));

    const LayoutDesign car = layout("CarList");
    expectFields(car, group + QStringList{"F_Bikou", "Soukei", "SizaiNM1", "PKei1"});
    expectLines(car,
                {"LotNo", "KanriNo", "Tuki", "Hinban", "Name1_", "Su", "YobiSu", "Color", "Row",
                 "SizeView", "QulKey", "QulKigou", "Gensan", "Printer", "LotSu"},
                29);
    expectLines(car, {"SitajiMei", "Kei"}, 17);
    for (const char *s : {"Head", "Nodata_Header", "Data_Header", "Kei", "Footer"})
        EXPECT_TRUE(car.hasSection(QLatin1String(s))) << s;

    const LayoutDesign total = layout("TotalList");
    expectFields(total,
                 {"FR", "FName", "SetBi", "FAdress", "NCD", "OCD", "TCD", "FBiko", "Date", "Page"});
    expectLines(total, {"Su", "DasmerCD", "OsteraCD", "Tosyou1_", "Tosyou2_", "SizaiMei"}, 8);

    const LayoutDesign qul = layout("QulMst");
    EXPECT_EQ(qul.orientation(), QPageLayout::Portrait);
    EXPECT_TRUE(qul.hasField(QStringLiteral("Page")));
    EXPECT_FALSE(qul.hasField(QStringLiteral("Date")));
    expectLines(qul, {"QUL_KEY", "QUL_NO", "LAYOUT", "TIME_STAMP", "USER_NM"}, 7);
    EXPECT_TRUE(qul.hasName(QStringLiteral("Waku7")) && qul.hasName(QStringLiteral("IN7")));
    EXPECT_FALSE(qul.hasName(QStringLiteral("Waku8")) || qul.hasName(QStringLiteral("IN8")));
    for (int b = 1; b <= 7; ++b) {
        QStringList names;
        for (int j = 1; j <= 10; ++j)
            names << QStringLiteral("BUI%1_%2").arg(b).arg(j)
                  << QStringLiteral("SOS%1_%2").arg(b).arg(j)
                  << QStringLiteral("KON%1_%2").arg(b).arg(j)
                  << QStringLiteral("G%1_%2").arg(j).arg(b);
        for (int i = 1; i <= 6; ++i)
            names << QStringLiteral("EHJ%1_%2").arg(b).arg(i);
        for (int i = 1; i <= 5; ++i)
            names << QStringLiteral("LN%1_%2").arg(i).arg(b);
        for (int i = 1; i <= 4; ++i)
            names << QStringLiteral("L%1_%2").arg(i).arg(b);
        names << QStringLiteral("EFUKI%1_1").arg(b) << QStringLiteral("EFUKI%1_2").arg(b);
        for (const QString &name : names)
            EXPECT_TRUE(qul.hasName(name)) << name.toStdString();
    }
}

TEST_F(ReportEngineTest, ShippedLayoutsKeepFieldsApartAndOnThePaper)
{
    for (const char *kind : {"OrderList", "CarList", "TotalList", "QulMst"}) {
        const LayoutDesign d = LayoutDesign::load(
            Installation::dataFile(QStringLiteral("sys_crf/cor_%1.crf").arg(QLatin1String(kind))));
        const QSizeF paper = QPageSize(d.paperSize()).size(QPageSize::Millimeter);
        const QRectF sheet = d.orientation() == QPageLayout::Landscape
                                 ? QRectF(0, 0, paper.height(), paper.width())
                                 : QRectF(0, 0, paper.width(), paper.height());
        QList<LayoutDesign::Item> fields;
        for (const LayoutDesign::Item &item : d.items()) {
            const QRectF r = item.rect.normalized();
            const QRectF printable = sheet.adjusted(4, 4, -4, -4);
            EXPECT_TRUE(printable.contains(r.topLeft()) && printable.contains(r.bottomRight()))
                << kind << " " << item.name.toStdString() << item.text.toStdString();
            if (item.kind == LayoutDesign::Kind::Field)
                fields << item;
        }
        for (int i = 0; i < fields.size(); ++i)
            for (int j = i + 1; j < fields.size(); ++j) {
                const QRectF overlap = fields[i].rect.intersected(fields[j].rect);
                const bool apart = overlap.width() < 0.01 || overlap.height() < 0.01 ||
                                   fields[i].section != fields[j].section;
                EXPECT_TRUE(apart) << kind << " " << fields[i].name.toStdString() << " / "
                                   << fields[j].name.toStdString();
            }
    }
}

TEST(ReportValuesTest, NumbersAndEmptyColumnsPrintAsTheListsShowThem)
{
    using namespace ReportValues;
    EXPECT_EQ(thousands(0), QStringLiteral("0"));
    EXPECT_EQ(thousands(999), QStringLiteral("999"));
    EXPECT_EQ(thousands(1234), QStringLiteral("1,234"));
    EXPECT_EQ(thousands(-1234567), QStringLiteral("-1,234,567"));
    QSqlRecord record;
    QSqlField lot(QStringLiteral("lot_no"), QMetaType(QMetaType::QString));
    lot.setValue(QVariant()); // NULL
    QSqlField su(QStringLiteral("SU"), QMetaType(QMetaType::Int));
    su.setValue(1500);
    record.append(lot);
    record.append(su);
    EXPECT_EQ(text(record, QStringLiteral("LOT_NO")), QString());
    EXPECT_EQ(amount(record, QStringLiteral("LOT_NO")), QString());
    EXPECT_EQ(amount(record, QStringLiteral("su")), QStringLiteral("1,500"));
    EXPECT_EQ(number(record, QStringLiteral("MISSING")), 0);
}

TEST(RepeatBlankingTest, ValuesRepeatedFromTheLineAboveAreBlankUntilAColumnLeftOfThemChanges)
{
    RepeatBlanking repeat;
    repeat.restart();
    using Line = std::array<QString, 4>;
    EXPECT_EQ(repeat.line({"L1", "K1", "26", "H1"}), (Line{"L1", "K1", "26", "H1"}));
    EXPECT_EQ(repeat.line({"L1", "K1", "26", "H1"}), (Line{"", "", "", ""}));
    EXPECT_EQ(repeat.line({"L1", "K2", "26", "H1"}), (Line{"", "K2", "26", "H1"}));
    EXPECT_EQ(repeat.line({"L1", "K2", "26", "H2"}), (Line{"", "", "", "H2"}));
    EXPECT_EQ(repeat.line({"L2", "K2", "26", "H2"}), (Line{"L2", "K2", "26", "H2"}));
    repeat.restart(); // a new page
    EXPECT_EQ(repeat.line({"L2", "K2", "26", "H2"}), (Line{"L2", "K2", "26", "H2"}));
    // An empty value is a value like any other: it repeats too.
    EXPECT_EQ(repeat.line({"L2", "K2", "", "H2"}), (Line{"", "", "", "H2"}));
}
