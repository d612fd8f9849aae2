#include "IniFile.h"
#include "Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ini.setFileName(QDir(dir.path()).filePath(QStringLiteral("ostera.ini")));
        ini.setSection(QStringLiteral("SQLDB"));
    }
    void writeRaw(const QByteArray &bytes)
    {
        QFile f(ini.fileName());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readRaw()
    {
        QFile f(ini.fileName());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    IniFile ini;
};
} // namespace

TEST_F(IniFileTest, NamesMatchWithoutRegardToCaseAndEmptyValuesGiveTheDefault)
{
    writeRaw("[sqldb]\nprovider=SQLite\nSERVER_NM=\n");
    EXPECT_EQ(ini.readString(QStringLiteral("PROVIDER"), QStringLiteral("x")),
              QStringLiteral("SQLite"));
    EXPECT_EQ(ini.readString(QStringLiteral("Server_Nm"), QStringLiteral("def")),
              QStringLiteral("def"));
    EXPECT_EQ(ini.readString(QStringLiteral("MISSING"), QString()), QString());
    ini.setSection(QStringLiteral("NoSuchSection"));
    EXPECT_EQ(ini.readString(QStringLiteral("PROVIDER"), QStringLiteral("d")), QStringLiteral("d"));
}

TEST_F(IniFileTest, GetIntegerTakesLeadingDigitsWithSign)
{
    writeRaw("[SQLDB]\nA=45\nB=-5\nC=abc\nD=12abc\nE=\nF= +7 \n");
    EXPECT_EQ(ini.readInteger(QStringLiteral("A"), 99), 45);
    EXPECT_EQ(ini.readInteger(QStringLiteral("B"), 99), -5);
    EXPECT_EQ(ini.readInteger(QStringLiteral("C"), 99), 0);
    EXPECT_EQ(ini.readInteger(QStringLiteral("D"), 99), 12);
    EXPECT_EQ(ini.readInteger(QStringLiteral("E"), 99), 99);
    EXPECT_EQ(ini.readInteger(QStringLiteral("F"), 99), 7);
    EXPECT_EQ(ini.readInteger(QStringLiteral("ABSENT"), 99), 99);
}

TEST_F(IniFileTest, JapaneseValuesComeBackWholeFromUtf8AndOldCp932Files)
{
    const QString folder = QStringLiteral("D:\\出力\\ロットシール髙");
    ini.setSection(QStringLiteral("tarvolin"));
    ASSERT_TRUE(ini.writeString(QStringLiteral("StkDir"), folder));
    EXPECT_EQ(ini.readString(QStringLiteral("StkDir"), QString()), folder);

    const Cp932::Encoded sjis =
        Cp932::encode(QStringLiteral("[tarvolin]\r\nStkDir=") + folder + QStringLiteral("\r\n"));
    ASSERT_TRUE(sjis.ok());
    writeRaw(sjis.bytes);
    EXPECT_EQ(ini.readString(QStringLiteral("StkDir"), QString()), folder);
}

TEST_F(IniFileTest, SetStringCreatesFileAndSectionOwnerOnlyAndKeepsOtherLines)
{
    ASSERT_FALSE(QFileInfo::exists(ini.fileName()));
    EXPECT_TRUE(ini.writeString(QStringLiteral("PASSWORD"), QStringLiteral("secret")));
    EXPECT_TRUE(QFile::permissions(ini.fileName()) & QFileDevice::WriteOwner);
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther;
    EXPECT_FALSE(QFile::permissions(ini.fileName()) & others);

    ini.setSection(QStringLiteral("Zenpan"));
    ini.writeString(QStringLiteral("USER_NM"), QStringLiteral("山田"));
    ini.setSection(QStringLiteral("sqldb")); // same section, other case
    ini.writeString(QStringLiteral("password"), QStringLiteral("changed"));
    QStringList sections;
    EXPECT_EQ(ini.sectionNames(sections), 2);
    EXPECT_EQ(sections, QStringList({QStringLiteral("SQLDB"), QStringLiteral("Zenpan")}));
    EXPECT_EQ(ini.readString(QStringLiteral("PASSWORD"), QString()), QStringLiteral("changed"));
}

TEST_F(IniFileTest, EnumerationsKeepFileOrderAndLeaveTheListWhenEmpty)
{
    writeRaw("; comment\n[SQLDB]\nZ=1\nA=2\nM=3\n[Zenpan]\n");
    QStringList lines;
    EXPECT_EQ(ini.sectionLines(lines), 3);
    EXPECT_EQ(lines,
              QStringList({QStringLiteral("Z=1"), QStringLiteral("A=2"), QStringLiteral("M=3")}));

    QStringList untouched = {QStringLiteral("keep")};
    ini.setSection(QStringLiteral("Zenpan"));
    EXPECT_EQ(ini.sectionLines(untouched), 0);
    EXPECT_EQ(untouched, QStringList({QStringLiteral("keep")}));
}

TEST_F(IniFileTest, DeleteKeyAndSectionWithEmptyArgumentHandsBackTheName)
{
    writeRaw("[SQLDB]\nA=1\nB=2\n[Zenpan]\nC=3\n");
    ini.removeKey(QStringLiteral("a"));
    EXPECT_EQ(ini.readString(QStringLiteral("A"), QStringLiteral("gone")), QStringLiteral("gone"));
    EXPECT_EQ(ini.readString(QStringLiteral("B"), QString()), QStringLiteral("2"));

    QString section;
    ini.removeSection(section);
    EXPECT_EQ(section, QStringLiteral("SQLDB"));
    QStringList sections;
    EXPECT_EQ(ini.sectionNames(sections), 1);
    EXPECT_EQ(sections.first(), QStringLiteral("Zenpan"));
}

TEST_F(IniFileTest, MissingFileReadsAsDefaults)
{
    EXPECT_EQ(ini.readString(QStringLiteral("PROVIDER"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(ini.readInteger(QStringLiteral("TIMEOUT"), 0), 0);
    QStringList sections;
    EXPECT_EQ(ini.sectionNames(sections), 0);
}
