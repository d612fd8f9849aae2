// What the existing system's SQL Server writes, and the bcp format files beside its exports.
#include "SqlServerTypes.h"
#include "BcpFormatFile.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace SqlServerTypes;

TEST(SqlServerTypesTest, ValuesComeBackAsTheExistingSystemMeantThem)
{
    EXPECT_EQ(withoutPadding("AB-007    "), "AB-007");
    EXPECT_EQ(withoutPadding(" 株式会社　"), " 株式会社　"); // leading blanks and U+3000 are data
    EXPECT_TRUE(isBcpEmptyString(QString(QChar(u'\0'))));
    EXPECT_FALSE(isBcpEmptyString(QString()));

    const auto stamp = dateTime("2026-12-08 09:05:03.000");
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->date, QDate(2026, 12, 8));
    EXPECT_EQ(stamp->time, QTime(9, 5, 3));
    EXPECT_EQ(dateTime("2026/12/8 9:05:03")->time, QTime(9, 5, 3)); // the wizard, Japanese locale
    EXPECT_EQ(dateTime("2026-12-08T09:05:03.1234567")->date, QDate(2026, 12, 8));
    EXPECT_EQ(dateTime("2026-12-08")->time, QTime(0, 0));
    EXPECT_FALSE(dateTime("2026-13-01"));
    EXPECT_FALSE(dateTime("20261208"));
    EXPECT_FALSE(dateTime("20//"));

    EXPECT_EQ(wholeNumber("12.00"), "12");
    EXPECT_EQ(wholeNumber("12.50"), "12.50");
    EXPECT_EQ(decimalWithScale("120.5000", 2), "120.50");
    EXPECT_EQ(decimalWithScale("120.0000", 2), "120.00");
    EXPECT_EQ(decimalWithScale("120.5", 2), "120.5");
    EXPECT_EQ(flagText("True"), "1");
    EXPECT_EQ(flagText("False"), "0");

    EXPECT_EQ(odbcText(QDateTime(QDate(2026, 12, 8), QTime(9, 5, 3)), nullptr),
              "2026-12-08 09:05:03.000");
    EXPECT_EQ(odbcText(QVariant(120.5), nullptr), "120.5");
    EXPECT_EQ(odbcText(QVariant(100.0), nullptr), "100");
    EXPECT_EQ(odbcText(QVariant(), nullptr), "");
    QString reason;
    EXPECT_FALSE(odbcText(QByteArray("\x01\x02", 2), &reason));
    EXPECT_FALSE(reason.isEmpty());
}

TEST(BcpFormatFileTest, ReadsThePlainAndTheXmlFormAndRefusesFieldsWithoutTerminators)
{
    QString problem;
    const auto plain = BcpFormatFile::parse(
        "14.0\r\n4\r\n"
        "1       SQLCHAR             0       4       \"\\t\"     1     ORD_NEN      "
        "Japanese_CI_AS\r\n"
        "2       SQLCHAR             0       2       \"\\t\"     2     ORD_TUKI     "
        "Japanese_CI_AS\r\n"
        "3       SQLCHAR             0       20      \"\\t\"     0     MEMO         \"\"\r\n"
        "4       SQLCHAR             0       12      \"\\r\\n\"   4     KNR_NO       \"\"\r\n",
        &problem);
    ASSERT_TRUE(plain) << problem.toStdString();
    EXPECT_EQ(plain->fieldColumns(), QStringList({"ORD_NEN", "ORD_TUKI", "", "KNR_NO"}));
    EXPECT_EQ(plain->fieldTerminator(), "\t");
    EXPECT_EQ(plain->rowTerminator(), "\r\n");
    EXPECT_FALSE(plain->unicode());

    const auto xml = BcpFormatFile::parse(
        "<?xml version=\"1.0\"?>\n<BCPFORMAT "
        "xmlns=\"http://schemas.microsoft.com/sqlserver/2004/bulkload/format\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><RECORD>"
        "<FIELD ID=\"1\" xsi:type=\"NCharTerm\" TERMINATOR=\"|\\0\" MAX_LENGTH=\"16\"/>"
        "<FIELD ID=\"2\" xsi:type=\"NCharTerm\" TERMINATOR=\"\\r\\0\\n\\0\" MAX_LENGTH=\"2\"/>"
        "</RECORD><ROW><COLUMN SOURCE=\"2\" NAME=\"KAKUTEI_FLG\" xsi:type=\"SQLNCHAR\"/>"
        "<COLUMN SOURCE=\"1\" NAME=\"imp_date\" xsi:type=\"SQLNVARCHAR\"/></ROW></BCPFORMAT>",
        &problem);
    ASSERT_TRUE(xml) << problem.toStdString();
    EXPECT_EQ(xml->fieldColumns(), QStringList({"IMP_DATE", "KAKUTEI_FLG"}));
    EXPECT_EQ(xml->fieldTerminator(), "|");
    EXPECT_EQ(xml->rowTerminator(), "\r\n");
    EXPECT_TRUE(xml->unicode());

    // bcp -n: native, length-prefixed fields.
    EXPECT_FALSE(
        BcpFormatFile::parse("14.0\r\n1\r\n1 SQLINT 1 4 \"\" 1 IMP_LN \"\"\r\n", &problem));
    EXPECT_TRUE(problem.startsWith("対応していない書式ファイルです")) << problem.toStdString();
}
