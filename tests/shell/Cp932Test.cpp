#include "Cp932.h"

#include <gtest/gtest.h>

TEST(Cp932Test, RoundTripsTheCharactersOfTheCustomersFiles)
{
    const QByteArray bytes("\x81\x60\x87\x40\xfb\xfc\xb6\xc0\xb6\xc5" "ABC 123", 17);
    const auto text = Cp932::decode(bytes);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, QStringLiteral("～①髙ｶﾀｶﾅABC 123"));
    EXPECT_EQ(text->at(0).unicode(), 0xFF5E); // 0x8160 is FULLWIDTH TILDE in CP932
    const Cp932::Encoded back = Cp932::encode(*text);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.bytes, bytes);
}

TEST(Cp932Test, LookAlikesTypedOnLinuxEncodeToTheirCp932Forms)
{
    const Cp932::Encoded wave = Cp932::encode(QString(QChar(0x301C)));
    ASSERT_TRUE(wave.ok());
    EXPECT_EQ(wave.bytes, QByteArray("\x81\x60"));
    const Cp932::Encoded signs = Cp932::encode(QString::fromUtf16(u"\u2212\u2016\u00A2\u00A3\u00AC"));
    ASSERT_TRUE(signs.ok());
    EXPECT_EQ(*Cp932::decode(signs.bytes), QString::fromUtf16(u"\uFF0D\u2225\uFFE0\uFFE1\uFFE2"));
}

TEST(Cp932Test, EncodeNamesTheFirstCharacterItCannotHoldAndReplacesNothing)
{
    const Cp932::Encoded e = Cp932::encode(QStringLiteral("綿100%😀한"));
    EXPECT_FALSE(e.ok());
    EXPECT_EQ(e.badChar, QStringLiteral("😀"));
    EXPECT_TRUE(e.bytes.isEmpty());
    EXPECT_EQ(Cp932::encode(QStringLiteral("한글")).badChar, QStringLiteral("한"));
}

TEST(Cp932Test, DecodeRefusesBytesThatAreNotCp932)
{
    EXPECT_FALSE(Cp932::decode(QByteArray("\x81\x20", 2)).has_value()); // bad trail byte
    EXPECT_FALSE(Cp932::decode(QByteArray("AB\x82", 3)).has_value());   // cut character
    EXPECT_TRUE(Cp932::decode(QByteArray()).has_value());
}

TEST(Cp932Test, CountsCharactersAsTheOrderFileDoes)
{
    EXPECT_EQ(Cp932::charCount(QByteArray("\x88\x9f" "AB\xb1", 5)), 4); // 亜 A B ｱ
    const QByteArray record("\x88\x9f" "ABCDE", 7);
    EXPECT_EQ(Cp932::byteLengthOfChars(record.constData(), int(record.size()), 2), 3);
    EXPECT_EQ(Cp932::byteLengthOfChars(record.constData(), int(record.size()), 99), 7);
    EXPECT_TRUE(Cp932::isLeadByte(0x81));
    EXPECT_TRUE(Cp932::isLeadByte(0xFC));
    EXPECT_FALSE(Cp932::isLeadByte(0xA1)); // half-width katakana
    EXPECT_FALSE(Cp932::isLeadByte(0xDF));
}
