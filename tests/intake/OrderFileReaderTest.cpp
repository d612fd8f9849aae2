#include "OrderFileReader.h"
#include "OrderFileBuilder.h"

#include <gtest/gtest.h>

namespace {

const QDate kToday(2026, 12, 8);

OrderRecord readOne(const QByteArray &file, int n = 1)
{
    OrderRecord record;
    QString reason;
    EXPECT_TRUE(OrderFileReader(file, kToday).read(n, record, &reason)) << reason.toStdString();
    return record;
}

QString refusal(const QByteArray &file, int n = 1)
{
    OrderRecord record;
    QString reason;
    EXPECT_FALSE(OrderFileReader(file, kToday).read(n, record, &reason));
    return reason;
}

} // namespace

TEST(OrderFileReaderTest, FieldsAtTheirPositionsTrimmedOfBlanksOnly)
{
    OrderLine line;
    line.set("HINBAN", " AB1 ").set("F17", "ｼｷｭｳ").set("QUL_KEY", "CT 10 00");
    line.set("F19", "\u3000");
    const OrderRecord r = readOne(line.record());
    EXPECT_EQ(r.line, 1);
    EXPECT_EQ(r.field("FC_CD"), "J13001");
    EXPECT_EQ(r.field("FC_RG"), "TK");
    EXPECT_EQ(r.field("HINBAN"), "AB1");
    EXPECT_EQ(r.field("F17"), "ｼｷｭｳ");
    EXPECT_EQ(r.field("QUL_KEY"), "CT 10 00"); // inner blanks go later, with SQL
    EXPECT_EQ(r.field("CAR_CD"), "A");
    EXPECT_EQ(r.field("F19"), "\u3000"); // a full-width space is not a blank
    EXPECT_EQ(r.field("JAN"), "");
    EXPECT_EQ(r.quantity, 100);
}

TEST(OrderFileReaderTest, ProductionMonthFromTheLotNumbersSecondCharacter)
{
    struct Case {
        const char *lot;
        const char *nen;
        const char *tuki;
    } cases[] = {
        {"JZ00001", "26", "12"}, {"J100001", "27", "01"}, {"J500001", "27", "05"},
        {"JX00001", "26", "10"}, {"Jx00001", "ｴﾗ", "!!"}, {"J", "ｴﾗ", "!!"},
        {"", "ｴﾗ", "!!"},
    };
    for (const Case &c : cases) {
        const OrderRecord r = readOne(OrderLine().set("LOT_NO", c.lot).record());
        EXPECT_EQ(r.seisanNen, QString::fromUtf8(c.nen)) << c.lot;
        EXPECT_EQ(r.seisanTuki, QString::fromUtf8(c.tuki)) << c.lot;
    }
}

TEST(OrderFileReaderTest, RecordCountFollowsTheFileLength)
{
    EXPECT_EQ(OrderFileReader::recordCount(0), 1);
    EXPECT_EQ(OrderFileReader::recordCount(130), 1);
    EXPECT_EQ(OrderFileReader::recordCount(3 * 130), 3);
    EXPECT_EQ(OrderFileReader::recordCount(3 * 130 - 2), 3); // last line end missing
    EXPECT_EQ(OrderFileReader::recordCount(3 * 130 + 1), 4); // a stray byte is a short record

    QByteArray file = orderFile({OrderLine(), OrderLine(), OrderLine().set("HINBAN", "LAST01")});
    file.chop(2);
    EXPECT_EQ(readOne(file, 3).field("HINBAN"), "LAST01");
    EXPECT_EQ(refusal(file + "\r\n1", 4), OrderFileReader::shortRecordReason());
}

TEST(OrderFileReaderTest, DoubleByteCharacterShiftsOnlyTheLaterFieldsOfItsRecord)
{
    // The customer's system pads by bytes; the file is read by characters, so a double-byte
    // character in F02 takes the first blank of the date into F02's second character.
    QByteArray first = OrderLine().set("F02", "急").set("ORD_DATE", "261201").record();
    const QByteArray second = OrderLine().set("HINBAN", "NEXT01").record();
    const QByteArray file = first + second;
    const OrderRecord r = readOne(file, 1);
    EXPECT_EQ(r.field("F01"), "1");
    EXPECT_EQ(r.field("F02"), "急2");        // 急 + the date's first digit
    EXPECT_EQ(r.field("ORD_DATE"), "61201"); // everything after moves by one byte
    EXPECT_EQ(r.field("F19"), "");           // the line end is never read
    EXPECT_EQ(readOne(file, 2).field("HINBAN"), "NEXT01");
    EXPECT_EQ(readOne(file, 2).field("ORD_DATE"), "261201");
}

TEST(OrderFileReaderTest, QuantityBlankIsZeroAndOtherwiseMustBeANumber)
{
    EXPECT_EQ(readOne(OrderLine().set("SU", "").record()).quantity, 0);
    EXPECT_EQ(readOne(OrderLine().set("SU", "  007").record()).quantity, 7);
    EXPECT_EQ(readOne(OrderLine().set("SU", "+12").record()).quantity, 12);
    EXPECT_EQ(readOne(OrderLine().set("SU", "-3").record()).quantity, -3);
    for (const char *bad : {"12a", "1 2", "1.5", "-", "１２", "'1'"})
        EXPECT_EQ(refusal(OrderLine().set("SU", bad).record()), OrderFileReader::quantityReason())
            << bad;
}

TEST(OrderFileReaderTest, BadBytesAreRefusedWithTheirReason)
{
    QByteArray withNul = OrderLine().record();
    withNul[40] = '\0';
    EXPECT_EQ(refusal(withNul), OrderFileReader::nulReason());

    for (const char bad : {char(0x80), char(0xA0), char(0xFF)}) {
        QByteArray record = OrderLine().record();
        record[33] = bad; // inside HINBAN
        EXPECT_EQ(refusal(record), OrderFileReader::encodingReason()) << int(uchar(bad));
    }
    // A lead byte whose second byte is not a valid trail byte.
    QByteArray broken = OrderLine().record();
    broken[32] = char(0x82);
    broken[33] = char(0x20);
    EXPECT_EQ(refusal(broken), OrderFileReader::encodingReason());

    EXPECT_EQ(refusal(QByteArray()), OrderFileReader::shortRecordReason());
    EXPECT_EQ(refusal(OrderLine().record().left(127)), OrderFileReader::shortRecordReason());
    EXPECT_EQ(OrderFileReader::refusalMessage(7, OrderFileReader::nulReason()),
              "取込ファイルの7件目: NUL文字が含まれています。");
}

TEST(OrderFileReaderTest, ReadingInPartsGivesTheSameRecords)
{
    QList<OrderLine> lines;
    for (int i = 1; i <= 5; ++i)
        lines << OrderLine().set("HINBAN", QStringLiteral("AB%1").arg(i, 4, 10, QLatin1Char('0')));
    const QByteArray file = orderFile(lines);
    const OrderFileReader part(QByteArrayView(file).sliced(3 * 130), kToday, 4);
    OrderRecord r;
    ASSERT_TRUE(part.read(5, r, nullptr));
    EXPECT_EQ(r.line, 5);
    EXPECT_EQ(r.field("HINBAN"), "AB0005");
    EXPECT_FALSE(part.read(3, r, nullptr)); // before the part
}
