#include "MenuFile.h"
#include "Cp932.h"
#include "Installation.h"

#include <QRandomGenerator>
#include <QSet>

#include <gtest/gtest.h>

namespace {
const QByteArray kHeader = "Menu_No,Menu_No_IDX,Menu_Name,Menu_Ku,Next_P\n";

MenuFile parseUtf8(const QString &body)
{
    return MenuFile::parse(kHeader + body.toUtf8());
}
} // namespace

TEST(MenuFileTest, RowsOutOfOrderLandAtTheirOwnPositions)
{
    const MenuFile file = parseUtf8(QStringLiteral("0,3,三番,S,MST_FACTORY\n"
                                                   "1,1,別の階層,S,MST_CAR\n"
                                                   "0,16,十六番,S,OrdSansyou\n"
                                                   "0,0,メインメニュー,,\n"
                                                   "0,1,一番,M,1\n"
                                                   "0,3,三番（後の行）,S,MST_QUL\n"));
    ASSERT_TRUE(file.ok()) << file.error().toStdString();
    const MenuLevel top = file.level(QStringLiteral("0"));
    EXPECT_TRUE(top.hasTitle);
    EXPECT_EQ(top.title, QStringLiteral("メインメニュー"));
    EXPECT_EQ(top.entries[1].caption, QStringLiteral("一番"));
    EXPECT_EQ(top.entries[1].kind, QStringLiteral("M"));
    EXPECT_EQ(top.entries[1].target, QStringLiteral("1"));
    // A later row with the same position overwrites the earlier one.
    EXPECT_EQ(top.entries[3].caption, QStringLiteral("三番（後の行）"));
    EXPECT_EQ(top.entries[3].target, QStringLiteral("MST_QUL"));
    EXPECT_EQ(top.entries[16].target, QStringLiteral("OrdSansyou"));
    EXPECT_TRUE(top.entries[2].caption.isEmpty());
    EXPECT_TRUE(top.problems.isEmpty());
}

TEST(MenuFileTest, LevelsAreSelectedByMenuNoAsText)
{
    const MenuFile file = parseUtf8(QStringLiteral("00,1,ゼロゼロ,S,A\n0,1,ゼロ,S,B\n"));
    EXPECT_EQ(file.level(QStringLiteral("0")).entries[1].caption, QStringLiteral("ゼロ"));
    EXPECT_EQ(file.level(QStringLiteral("00")).entries[1].caption, QStringLiteral("ゼロゼロ"));
    const MenuLevel none = file.level(QStringLiteral("7"));
    EXPECT_FALSE(none.hasTitle);
    for (int n = 1; n <= 16; ++n)
        EXPECT_TRUE(none.entries[size_t(n)].caption.isEmpty());
}

TEST(MenuFileTest, PositionsOutsideTheMenuAreReportedAndSkipped)
{
    const MenuFile file = parseUtf8(QStringLiteral("0,17,多すぎ,S,A\n0,-1,負,S,B\n0,abc,文字,S,C\n"
                                                   "0,,空,S,D\n0,2,正しい,S,E\n"));
    const MenuLevel level = file.level(QStringLiteral("0"));
    EXPECT_EQ(level.problems.size(), 4);
    EXPECT_TRUE(level.problems.first().startsWith(QStringLiteral("2行目")));
    EXPECT_EQ(level.entries[2].caption, QStringLiteral("正しい"));
}

TEST(MenuFileTest, ReadsCp932QuotedFieldsBomAndAnyHeaderCase)
{
    const auto cp932 =
        Cp932::encode(QStringLiteral("menu_no,MENU_NO_IDX,Menu_Name,menu_ku,NEXT_P\r\n"
                                     "0,0,\"受注・変換, 確定\",,\r\n"
                                     "0,1,\"ﾃﾞｰﾀ取込\"\"新\"\"\",s,FileImport\r\n"));
    ASSERT_TRUE(cp932.ok());
    const MenuFile fromCp932 = MenuFile::parse(cp932.bytes);
    ASSERT_TRUE(fromCp932.ok()) << fromCp932.error().toStdString();
    const MenuLevel level = fromCp932.level(QStringLiteral("0"));
    EXPECT_EQ(level.title, QStringLiteral("受注・変換, 確定"));
    EXPECT_EQ(level.entries[1].caption, QStringLiteral("ﾃﾞｰﾀ取込\"新\""));
    EXPECT_EQ(level.entries[1].kind, QStringLiteral("s"));

    const MenuFile withBom = MenuFile::parse(QByteArray("\xEF\xBB\xBF") + kHeader +
                                             QStringLiteral("0,1,取込,S,FileImport\n").toUtf8());
    ASSERT_TRUE(withBom.ok()) << withBom.error().toStdString();
    EXPECT_EQ(withBom.level(QStringLiteral("0")).entries[1].caption, QStringLiteral("取込"));
}

TEST(MenuFileTest, UnreadableFilesSayWhy)
{
    const MenuFile missingColumn =
        MenuFile::parse("Menu_No,Menu_No_IDX,Menu_Name,Next_P\n0,1,a,S\n");
    EXPECT_FALSE(missingColumn.ok());
    EXPECT_TRUE(missingColumn.error().contains(QStringLiteral("Menu_Ku")));

    EXPECT_FALSE(MenuFile::parse(QByteArray()).ok());
    EXPECT_FALSE(MenuFile::parse(QByteArray("\x81\x20\xff\xfe")).ok()); // neither UTF-8 nor CP932

    const MenuFile missingFile = MenuFile::read(QStringLiteral("/nonexistent/Menu1.txt"));
    EXPECT_FALSE(missingFile.ok());
    EXPECT_FALSE(missingFile.error().isEmpty());
}

TEST(MenuFileTest, ArbitraryBytesNeverBreakTheReader)
{
    QRandomGenerator random(20261208);
    const QByteArray alphabet = QByteArray("0123,\"\n\r SMF\x82\xa0\xe3\x81\x82") + kHeader;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = round % 2 ? kHeader : QByteArray();
        const int length = int(random.bounded(200));
        for (int i = 0; i < length; ++i)
            bytes += round % 3 ? alphabet.at(int(random.bounded(alphabet.size())))
                               : char(random.bounded(256));
        const MenuFile file = MenuFile::parse(bytes);
        const MenuLevel level = file.level(QStringLiteral("0"));
        EXPECT_LE(level.problems.size(), file.rows().size());
    }
}

TEST(MenuFileTest, TypedNumbersFollowTheAcceptanceRule)
{
    const QList<QPair<QString, int>> cases = {
        {QStringLiteral("3"), 3},
        {QStringLiteral("05"), 5},
        {QStringLiteral("2.4"), 2},
        {QStringLiteral("2.5"), 2}, // halves go to the even neighbour
        {QStringLiteral("3.5"), 4},
        {QStringLiteral("16.4"), 16},
        {QStringLiteral("16.5"), 16},
        {QStringLiteral("0.6"), 1},
        {QStringLiteral(" 7 "), 7},
        {QStringLiteral("+8"), 8},
        {QStringLiteral("abc"), 0},
        {QStringLiteral("17"), 0},
        {QStringLiteral("0"), 0},
        {QStringLiteral("0.5"), 0},
        {QStringLiteral("-1"), 0},
        {QStringLiteral(""), 0},
        {QStringLiteral("3a"), 0},
        {QStringLiteral("16.6"), 0},
        {QStringLiteral("00000000000003"), 3},  // 14 characters
        {QStringLiteral("000000000000003"), 0}, // 15 characters
    };
    for (const auto &[typed, expected] : cases)
        EXPECT_EQ(MenuFile::entryNumberOf(typed), expected) << typed.toStdString();
}

// The menu shipped with the desk reaches every command word, and every sub-level leads back.
TEST(MenuFileTest, ShippedMenuReachesEveryCommandAndLeadsBack)
{
    const MenuFile file = MenuFile::read(Installation::shareDir() + QStringLiteral("/Menu1.txt"));
    ASSERT_TRUE(file.ok()) << file.error().toStdString();

    QSet<QString> words;
    QSet<QString> levels;
    QSet<QString> reached = {QStringLiteral("0")};
    for (const MenuRow &row : file.rows())
        levels << row.menuNo;
    for (const QString &no : levels) {
        const MenuLevel level = file.level(no);
        EXPECT_TRUE(level.hasTitle) << no.toStdString();
        EXPECT_TRUE(level.problems.isEmpty()) << no.toStdString();
        bool leadsBack = no == QLatin1String("0");
        for (int n = 1; n <= 16; ++n) {
            const MenuEntry &e = level.entries[size_t(n)];
            if (e.kind.toUpper() == QLatin1String("S"))
                words << e.target;
            if (e.kind.toUpper() == QLatin1String("M")) {
                EXPECT_TRUE(levels.contains(e.target)) << e.target.toStdString();
                reached << e.target;
                leadsBack = leadsBack || e.target == QLatin1String("0");
            }
        }
        EXPECT_TRUE(leadsBack) << "level " << no.toStdString() << " has no way back";
    }
    EXPECT_EQ(reached, levels);
    const QStringList table = {"FileImport",  "OrderEdit",  "OrderHenkan",       "OrderKakutei",
                               "ErrView",     "ErrAction",  "SoseiHanCheck",     "SizeHanCheck",
                               "OrderList",   "CarList",    "TotalList",         "MST_QUL",
                               "MST_FACTORY", "MST_CAR",    "MST_TARVOLIN_SIZE", "TUKI_SYORI",
                               "App_Exit",    "OrdSansyou", "RunHistory"};
    for (const QString &word : table)
        EXPECT_TRUE(words.contains(word)) << word.toStdString();
}
