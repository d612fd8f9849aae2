#include "DbTest.h"

#include "DemoData.h"
#include "MasterFiles.h"

#include <QDir>
#include <QFile>
#include <QSqlRecord>

class MasterFilesTest : public DbTest {
protected:
    QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(const QString &folder, const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(folder);
        QFile f(QDir(folder).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList tableText(const QString &table, const QString &order)
    {
        QStringList lines;
        for (const QSqlRecord &r : db().rows(QStringLiteral("SELECT * FROM ") + table +
                                             QStringLiteral(" ORDER BY ") + order)) {
            QStringList values;
            for (int i = 0; i < r.count(); ++i)
                values << r.value(i).toString();
            lines << values.join(QLatin1Char('|'));
        }
        return lines;
    }
};
INSTANTIATE_ENGINES(MasterFilesTest);

TEST_P(MasterFilesTest, DumpOfTheDemoMastersGivesTheirFilesAndLoadsBackUnchanged)
{
    DemoData::loadMasters(db());
    MasterFiles files(db(), &progress);
    const MasterFiles::Result first = files.dump(path(QStringLiteral("first")));
    ASSERT_TRUE(first.ok) << first.message.toStdString();
    ASSERT_EQ(first.tables.size(), MasterFiles::tables().size());
    for (const QString &table : MasterFiles::tables()) {
        const QString name = MasterFiles::fileName(table);
        EXPECT_EQ(readFile(path(QStringLiteral("first/") + name)),
                  readFile(QDir(DemoData::mastersDir()).filePath(name)))
            << name.toStdString();
    }

    const MasterFiles::Result load = files.load(path(QStringLiteral("first")));
    ASSERT_TRUE(load.ok) << load.message.toStdString();
    ASSERT_TRUE(files.dump(path(QStringLiteral("second"))).ok);
    for (const QString &table : MasterFiles::tables()) {
        const QString name = MasterFiles::fileName(table);
        EXPECT_EQ(readFile(path(QStringLiteral("second/") + name)),
                  readFile(path(QStringLiteral("first/") + name)))
            << name.toStdString();
    }
    EXPECT_FALSE(progress.active);
}

TEST_P(MasterFilesTest, AwkwardTextIsQuotedAndComesBackExactly)
{
    const QStringList names = {
        QStringLiteral("カンマ,あり"),    QStringLiteral("引用符\"付き\""),
        QStringLiteral("改行\nあり"),     QStringLiteral("CRLF\r\n改行"),
        QStringLiteral("  前後に空白  "), QStringLiteral(""),
        QStringLiteral("O'Brien；全角"),  QStringLiteral("\"\""),
    };
    for (int i = 0; i < names.size(); ++i)
        db().exec(QStringLiteral("INSERT INTO MST_BRAND(BR_CD, BR_NM) VALUES(:cd, :nm)"),
                  {{QStringLiteral("cd"), QStringLiteral("B%1").arg(i)},
                   {QStringLiteral("nm"), names.at(i)}});
    const QStringList before = tableText(QStringLiteral("MST_BRAND"), QStringLiteral("BR_CD"));

    MasterFiles files(db());
    ASSERT_TRUE(files.dump(dir()).ok);
    const QByteArray text = readFile(path(QStringLiteral("MST_BRAND.csv")));
    EXPECT_TRUE(text.startsWith("BR_CD,BR_NM\n"));
    EXPECT_TRUE(text.contains("B0,\"カンマ,あり\"\n"));
    EXPECT_TRUE(text.contains("B1,\"引用符\"\"付き\"\"\"\n"));
    EXPECT_TRUE(text.contains("B2,\"改行\nあり\"\n"));
    EXPECT_TRUE(text.contains("B4,\"  前後に空白  \"\n"));
    EXPECT_TRUE(text.contains("B5,\n"));
    EXPECT_TRUE(text.contains("B6,O'Brien；全角\n"));

    db().exec(QStringLiteral("DELETE FROM MST_BRAND"));
    const MasterFiles::Result load = files.load(dir());
    ASSERT_TRUE(load.ok) << load.message.toStdString();
    EXPECT_EQ(tableText(QStringLiteral("MST_BRAND"), QStringLiteral("BR_CD")), before);

    EXPECT_EQ(MasterFiles::csvLine({QString()}), QByteArray("\"\"")); // a line of its own
    EXPECT_EQ(MasterFiles::csvLine({QStringLiteral("a"), QString(), QStringLiteral("b")}),
              QByteArray("a,,b"));
}

TEST_P(MasterFilesTest, FirstBadLineIsNamedAndNoTableChanges)
{
    DemoData::loadMasters(db());
    const QStringList cars = tableText(QStringLiteral("MST_CAR"), QStringLiteral("CAR_CD"));
    const QStringList rows = tableText(QStringLiteral("MST_ROW"), QStringLiteral("ROW"));
    const QByteArray header = "CAR_CD,SHO_NM1,PRICE,SPARE_SU0\n";

    struct Case {
        const char *what;
        QByteArray body; // after the header line
        int line;
        const char *reason;
    };
    const QList<Case> cases = {
        {"wrong column count", "A,品質,1.00,10\nB,品質,2.00\n", 3, "列の数"},
        {"non-number in an integer column", "A,品質,1.00,10\nB,品質,2.00,十\n", 3, "SPARE_SU0"},
        {"non-number in a decimal column", "A,品質,1.2x,10\n", 2, "PRICE"},
        {"too many decimals", "A,品質,1.234,10\n", 2, "小数点以下は2桁まで"},
        {"duplicate key", "A,品質,1.00,10\nB,x,1,1\nA,品質,2.00,20\n", 4, "2 行目と同じ"},
        {"blank lines and a quoted line break count as lines",
         "\nA,\"二行\nの品名\",1.00,10\n\nB,品質,1,1,9\n", 6, "列の数"},
        {"unclosed quote", "A,\"品質,1.00,10\nB,品質,1,1\n", 2, "閉じていません"},
        {"stray quote", "A,品\"質,1.00,10\n", 2, "引用符"},
        {"not UTF-8", QByteArray("A,") + QByteArray("\x95\x69\x8E\xBF") + ",1,1\n", 2, "UTF-8"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = path(QStringLiteral("bad"));
        QDir(folder).removeRecursively();
        writeFile(folder, QStringLiteral("MST_ROW.csv"), "ROW,ROW_NM\n77,新しい段\n");
        writeFile(folder, QStringLiteral("MST_CAR.csv"), header + c.body);
        MasterFiles files(db());
        const MasterFiles::Result r = files.load(folder);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.file, QStringLiteral("MST_CAR.csv"));
        EXPECT_EQ(r.line, c.line);
        EXPECT_TRUE(r.message.startsWith(QStringLiteral("MST_CAR.csv の %1 行目: ").arg(c.line)))
            << r.message.toStdString();
        EXPECT_TRUE(r.message.contains(QString::fromUtf8(c.reason))) << r.message.toStdString();
        EXPECT_EQ(tableText(QStringLiteral("MST_CAR"), QStringLiteral("CAR_CD")), cars);
        EXPECT_EQ(tableText(QStringLiteral("MST_ROW"), QStringLiteral("ROW")), rows);
    }

    // A factory abbreviation no print file name could begin with.
    const QString factories = path(QStringLiteral("factory"));
    writeFile(factories, QStringLiteral("MST_FACTORY.csv"), "FC_RG,FC_NM\nOK,良い\nO/Y,悪い\n");
    const MasterFiles::Result bad = MasterFiles(db()).load(factories);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.message,
              QStringLiteral("MST_FACTORY.csv の 3 行目: 工場略号に使えない文字「/」があります。"));
    writeFile(factories, QStringLiteral("MST_FACTORY.csv"), "FC_NM,FC_RG\n悪い,.OY\n");
    EXPECT_EQ(MasterFiles(db()).load(factories).message,
              QStringLiteral("MST_FACTORY.csv の 2 行目: 工場略号は「.」で始められません。"));
    EXPECT_EQ(count(QStringLiteral("MST_FACTORY"), QStringLiteral("FC_RG IN ('OK', 'O/Y')")), 0);

    const QString folder = path(QStringLiteral("header"));
    writeFile(folder, QStringLiteral("MST_CAR.csv"), "CAR_CD,SHO_NM9\nA,x\n");
    MasterFiles files(db());
    MasterFiles::Result r = files.load(folder);
    EXPECT_EQ(r.line, 1);
    EXPECT_TRUE(r.message.contains(QStringLiteral("SHO_NM9"))) << r.message.toStdString();
    writeFile(folder, QStringLiteral("MST_CAR.csv"), "SHO_NM1\nx\n");
    r = files.load(folder);
    EXPECT_EQ(r.line, 1);
    EXPECT_TRUE(r.message.contains(QStringLiteral("CAR_CD"))) << r.message.toStdString();
    EXPECT_EQ(count(QStringLiteral("MST_CAR")), cars.size());
}

TEST_P(MasterFilesTest, OnlyTablesWithAFileAreReplaced)
{
    DemoData::loadMasters(db());
    const QStringList cars = tableText(QStringLiteral("MST_CAR"), QStringLiteral("CAR_CD"));
    const QString folder = path(QStringLiteral("part"));
    // A header naming a few columns in its own order and case; the rest take their defaults.
    writeFile(folder, QStringLiteral("MST_SIZ.csv"),
              "size0,SIZE_KEY,SIZE_SORT_LV\r\nＳ, X0101 , 7 \r\n\"M\",X0201,\r\n");
    writeFile(folder, QStringLiteral("README.csv"), "not,a,master\n");

    MasterFiles files(db());
    const MasterFiles::Result r = files.load(folder);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    ASSERT_EQ(r.tables.size(), 1);
    EXPECT_EQ(r.tables.first().first, QStringLiteral("MST_SIZ"));
    EXPECT_EQ(r.tables.first().second, 2);
    EXPECT_EQ(tableText(QStringLiteral("MST_SIZ"), QStringLiteral("SIZE_KEY")),
              QStringList({QStringLiteral("X0101||Ｓ|7"), QStringLiteral("X0201||M|0")}));
    EXPECT_EQ(tableText(QStringLiteral("MST_CAR"), QStringLiteral("CAR_CD")), cars);

    const MasterFiles::Result none = files.load(path(QStringLiteral("empty")));
    EXPECT_FALSE(none.ok);
}

TEST_P(MasterFilesTest, NumbersAreWrittenByTheirColumn)
{
    db().exec(QStringLiteral("INSERT INTO MST_CAR(CAR_CD, PRICE, SPARE_SU0, YARE_SU) "
                             "VALUES('A', 3.5, 100, -2), ('B', 12, 0, 0)"));
    MasterFiles files(db());
    ASSERT_TRUE(files.dump(dir()).ok);
    const QList<QByteArray> lines = readFile(path(QStringLiteral("MST_CAR.csv"))).split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines.at(1).startsWith("A,,,,,3.50,,,100,0,0,0,-2,")) << lines.at(1).constData();
    EXPECT_TRUE(lines.at(2).startsWith("B,,,,,12.00,,,0,")) << lines.at(2).constData();

    writeFile(path(QStringLiteral("in")), QStringLiteral("MST_CAR.csv"),
              "CAR_CD,PRICE,SPARE_SU0,PACKING_SU\nC,+.5,,007\nD,99999999.99,-1,2147483647\n");
    ASSERT_TRUE(files.load(path(QStringLiteral("in"))).ok);
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT PACKING_SU FROM MST_CAR WHERE CAR_CD = 'C'")).toInt(),
        7);
    EXPECT_DOUBLE_EQ(
        db().scalar(QStringLiteral("SELECT PRICE FROM MST_CAR WHERE CAR_CD = 'C'")).toDouble(),
        0.5);
    EXPECT_EQ(
        db().scalar(QStringLiteral("SELECT SPARE_SU0 FROM MST_CAR WHERE CAR_CD = 'D'")).toInt(),
        -1);

    writeFile(path(QStringLiteral("big")), QStringLiteral("MST_CAR.csv"),
              "CAR_CD,PACKING_SU\nE,2147483648\n");
    const MasterFiles::Result r = files.load(path(QStringLiteral("big")));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.line, 2);
}
