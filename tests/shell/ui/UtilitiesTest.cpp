#include "Utilities.h"
#include "FileOpen.h"

#include <gtest/gtest.h>

TEST(UtilitiesTest, MonthCodePicksTheYearNearestToToday)
{
    const QDate march(2004, 3, 15);
    const QDate september(2004, 9, 10);
    EXPECT_EQ(monthCodeToYearMonth(QStringLiteral("Z"), march), QStringLiteral("03X12"));
    EXPECT_EQ(monthCodeToYearMonth(QStringLiteral("9"), march), QStringLiteral("04X09"));
    EXPECT_EQ(monthCodeToYearMonth(QStringLiteral("1"), september), QStringLiteral("05X01"));
    EXPECT_EQ(monthCodeToYearMonth(QStringLiteral("3"), september), QStringLiteral("05X03"));
    EXPECT_EQ(monthCodeToYearMonth(QStringLiteral("4"), september), QStringLiteral("04X04"));
    EXPECT_EQ(monthCodeToYearMonth(QStringLiteral("X"), september), QStringLiteral("04X10"));
    EXPECT_EQ(monthCodeToYearMonth(QStringLiteral("Y"), september), QStringLiteral("04X11"));
}

TEST(UtilitiesTest, MonthCodeCandidatesTurnBetweenJuneAndJuly)
{
    // June: last year and this year. January is five months back: this year.
    EXPECT_EQ(monthCodeToYearMonth(QStringLiteral("1"), QDate(2004, 6, 30)),
              QStringLiteral("04X01"));
    EXPECT_EQ(monthCodeToYearMonth(QStringLiteral("Z"), QDate(2004, 6, 30)),
              QStringLiteral("04X12"));
    // July: this year and next year. January of next year is six months on: next year.
    EXPECT_EQ(monthCodeToYearMonth(QStringLiteral("1"), QDate(2004, 7, 1)),
              QStringLiteral("05X01"));
    EXPECT_EQ(monthCodeToYearMonth(QStringLiteral("Z"), QDate(2004, 7, 1)),
              QStringLiteral("04X12"));
    // The turn of the century keeps two digits.
    EXPECT_EQ(monthCodeToYearMonth(QStringLiteral("1"), QDate(2099, 12, 1)),
              QStringLiteral("00X01"));
}

TEST(UtilitiesTest, MonthCodeRefusesWhatTheFileCannotHold)
{
    for (const char *code : {"0", "10", "x", "A", "", "z", " 1"})
        EXPECT_EQ(monthCodeToYearMonth(QString::fromLatin1(code), QDate(2004, 3, 15)),
                  QStringLiteral("ｴﾗｰ!!"))
            << code;
}

TEST(UtilitiesTest, DateTextsAreRealCalendarDates)
{
    EXPECT_TRUE(isDateText(QStringLiteral("2004/5/1")));
    EXPECT_TRUE(isDateText(QStringLiteral("2004/05/31")));
    EXPECT_TRUE(isDateText(QStringLiteral("2004/02/29")));
    EXPECT_FALSE(isDateText(QStringLiteral("2004/13/01")));
    EXPECT_FALSE(isDateText(QStringLiteral("abc")));
    EXPECT_FALSE(isDateText(QStringLiteral("2004/02/30")));
    EXPECT_FALSE(isDateText(QStringLiteral("2003/02/29")));
    EXPECT_FALSE(isDateText(QStringLiteral("")));
    EXPECT_EQ(formatDateText(QStringLiteral("2004/5/3")), QStringLiteral("2004/05/03"));
}

TEST(UtilitiesTest, FileOpenOffersOneFilterAndKeepsThePathOnCancel)
{
    QString seenTitle;
    QString seenFilter;
    std::optional<QString> answer;
    setFileOpenDialog([&](QWidget *, const QString &title, const QString &, const QString &filter) {
        seenTitle = title;
        seenFilter = filter;
        return answer;
    });

    QString path = QStringLiteral("/data/before.txt");
    showFileOpen(nullptr, path, QStringLiteral("Impport File"), QString(), QStringLiteral("txt"));
    EXPECT_EQ(path, QStringLiteral("/data/before.txt")); // cancelled
    EXPECT_EQ(seenTitle, QStringLiteral("Impport File"));
    EXPECT_EQ(seenFilter, QStringLiteral("txtファイル (*.txt)"));

    answer = QString();
    showFileOpen(nullptr, path, QStringLiteral("Impport File"), QString(), QStringLiteral("txt"));
    EXPECT_EQ(path, QStringLiteral("/data/before.txt")); // an empty choice changes nothing

    answer = QStringLiteral("/data/ORDER_20261208.txt");
    showFileOpen(nullptr, path, QStringLiteral("Impport File"), QString(), QStringLiteral("txt"));
    EXPECT_EQ(path, QStringLiteral("/data/ORDER_20261208.txt"));
    setFileOpenDialog(nullptr);
}
