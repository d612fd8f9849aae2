#include "DbTest.h"

#include "Cp932.h"
#include "QualityCsvExport.h"

#include <QDir>
#include <QFile>

namespace {
// Splits one CSV line of quoted fields (inner quotes doubled).
QStringList parseLine(const QString &line)
{
    QStringList fields;
    QString current;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() &&
                line.at(i + 1) == QLatin1Char('"')) {
                current += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                current += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << current;
            current.clear();
        } else {
            ADD_FAILURE() << "text outside quotes at " << i;
        }
    }
    fields << current;
    return fields;
}
} // namespace

class QualityCsvExportTest : public DbTest {
protected:
    void addQuality(const QString &key, const QVariantMap &values)
    {
        QStringList names = {QStringLiteral("QUL_KEY")};
        QStringList holders = {QStringLiteral(":QUL_KEY")};
        QVariantMap params = {{QStringLiteral("QUL_KEY"), key}};
        for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
            names << it.key();
            holders << QLatin1Char(':') + it.key();
            params.insert(it.key(), it.value());
        }
        db().exec(QStringLiteral("Insert Into MST_QUL(") + names.join(QLatin1Char(',')) +
                      QStringLiteral(") Values(") + holders.join(QLatin1Char(',')) +
                      QLatin1Char(')'),
                  params);
    }
    QString csvPath() const { return dir() + QStringLiteral("/ostQ.csv"); }
    QByteArray csvBytes() const
    {
        QFile file(csvPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};
INSTANTIATE_ENGINES(QualityCsvExportTest);

TEST_P(QualityCsvExportTest, OneLineOfSeventyNineQuotedFieldsPerQualityInKeyOrder)
{
    addQuality(QStringLiteral("Q2"), {{QStringLiteral("QUL_NO"), QStringLiteral("N2")},
                                      {QStringLiteral("LAYOUT2"), QStringLiteral("2")},
                                      {QStringLiteral("LAYOUT3"), QStringLiteral("1")},
                                      {QStringLiteral("LAYOUT4"), QStringLiteral("2")},
                                      {QStringLiteral("BUI1"), QStringLiteral("表地")},
                                      {QStringLiteral("SOS1"), QStringLiteral("綿")},
                                      {QStringLiteral("KON1"), QStringLiteral("100%")},
                                      {QStringLiteral("KON10"), QStringLiteral("5%")},
                                      {QStringLiteral("EHJ1"), QStringLiteral("100")},
                                      {QStringLiteral("EHJ6"), QStringLiteral("600")},
                                      {QStringLiteral("EFUKI1"), QStringLiteral("\"陰\"干し〜")},
                                      {QStringLiteral("EFUKI2"), QStringLiteral("b")}});
    // An empty L2 makes the code shorter: it is joined, not formatted.
    addQuality(QStringLiteral("Q1"), {{QStringLiteral("LAYOUT3"), QStringLiteral("2")},
                                      {QStringLiteral("LAYOUT4"), QStringLiteral("3")}});

    const QualityCsvExport::Result result = QualityCsvExport::exportCsv(db(), dir());
    ASSERT_EQ(result.outcome, Outcome::Done) << result.message.toStdString();
    EXPECT_EQ(result.path, csvPath());

    const QByteArray bytes = csvBytes();
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const std::optional<QString> text = Cp932::decode(bytes);
    ASSERT_TRUE(text.has_value());
    QStringList lines = text->split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.takeLast(), QString());
    ASSERT_EQ(lines.size(), 2);

    const QStringList q1 = parseLine(lines[0]);
    ASSERT_EQ(q1.size(), 79);
    EXPECT_EQ(q1[0], QStringLiteral("1231"));

    const QStringList q2 = parseLine(lines[1]);
    ASSERT_EQ(q2.size(), 79);
    EXPECT_EQ(q2[0], QStringLiteral("12121"));
    EXPECT_EQ(q2[1], QStringLiteral("1"));
    for (int i = 2; i <= 12; ++i)
        EXPECT_EQ(q2[i], QString()) << i;
    EXPECT_EQ(q2[13], QStringLiteral("N2"));
    EXPECT_EQ(q2.mid(14, 3),
              QStringList({QStringLiteral("表地"), QStringLiteral("綿"), QStringLiteral("100%")}));
    EXPECT_EQ(q2[43], QStringLiteral("5%"));
    EXPECT_EQ(q2[44], QStringLiteral("100"));
    EXPECT_EQ(q2[49], QStringLiteral("600"));
    // The wave dash typed on Linux goes out as the CP932 one; inner quotes are doubled.
    EXPECT_EQ(q2[50], QStringLiteral("\"陰\"干し～"));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("\"\"\"陰\"\"干し～\"")));
    EXPECT_EQ(q2[51], QStringLiteral("b"));
    for (int i = 52; i < 79; ++i)
        EXPECT_EQ(q2[i], QString()) << i;
}

TEST_P(QualityCsvExportTest, AnEmptyTableWritesNothing)
{
    const QualityCsvExport::Result result = QualityCsvExport::exportCsv(db(), dir());
    EXPECT_EQ(result.outcome, Outcome::Unchanged);
    EXPECT_FALSE(QFile::exists(csvPath()));
}

TEST_P(QualityCsvExportTest, ACharacterCp932CannotHoldIsRefusedAndTheOldFileKept)
{
    addQuality(QStringLiteral("Q1"), {{QStringLiteral("SOS1"), QStringLiteral("綿")}});
    ASSERT_EQ(QualityCsvExport::exportCsv(db(), dir()).outcome, Outcome::Done);
    const QByteArray before = csvBytes();

    addQuality(QStringLiteral("Q2"), {{QStringLiteral("SOS1"), QStringLiteral("🧶ウール")}});
    const QualityCsvExport::Result result = QualityCsvExport::exportCsv(db(), dir());
    EXPECT_EQ(result.outcome, Outcome::Refused);
    EXPECT_EQ(
        result.message,
        QStringLiteral("品質キー Q2 に出力できない文字「🧶」があります。"));
    EXPECT_EQ(csvBytes(), before);
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir()).entryList({QStringLiteral("ostQ*")}, QDir::Files),
              QStringList{QStringLiteral("ostQ.csv")});
}
