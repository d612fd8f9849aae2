#include "ReportTest.h"

#include "QualityCardReport.h"
#include "QualityCardSelection.h"

class QualityCardReportTest : public ReportTest {
protected:
    Outcome print(const QList<QSqlRecord> &rows)
    {
        return QualityCardReport::print(engine, request(), rows);
    }
    QList<QSqlRecord> all()
    {
        return db().rows(QStringLiteral("Select * From MST_QUL Order By QUL_KEY "));
    }
    void addQualities(int n)
    {
        for (int i = 1; i <= n; ++i)
            addQuality(QStringLiteral("Q%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    // The frame of card b: hidden until the card is filled.
    static QStringList frameOf(int b)
    {
        QStringList names = {QStringLiteral("Waku%1").arg(b), QStringLiteral("IN%1").arg(b),
                             QStringLiteral("QUL_KEY%1").arg(b)};
        for (int i = 1; i <= 4; ++i)
            names << QStringLiteral("L%1_%2").arg(i).arg(b);
        for (int i = 1; i <= 5; ++i)
            names << QStringLiteral("LN%1_%2").arg(i).arg(b);
        for (int i = 1; i <= 10; ++i)
            names << QStringLiteral("G%1_%2").arg(i).arg(b);
        for (int i = 1; i <= 6; ++i)
            names << QStringLiteral("EHJ%1_%2").arg(b).arg(i);
        return names;
    }
    static int framesShown(const RecordedPage &page, int b)
    {
        int n = 0;
        for (const QString &name : frameOf(b))
            n += page.itemShown(name) ? 1 : 0;
        return n;
    }
    static bool framed(const RecordedPage &page, int b)
    {
        return framesShown(page, b) == frameOf(b).size();
    }
    static bool unframed(const RecordedPage &page, int b) { return framesShown(page, b) == 0; }
};
INSTANTIATE_ENGINES(QualityCardReportTest);

TEST_P(QualityCardReportTest, SevenCardsFillOnePage)
{
    addQualities(7);
    ASSERT_EQ(print(all()), Outcome::Done);
    ASSERT_EQ(pages().size(), 1);
    for (int b = 1; b <= 7; ++b)
        EXPECT_TRUE(framed(pages()[0], b)) << b;
    EXPECT_EQ(pages()[0].text(QStringLiteral("QUL_KEY7")), QStringLiteral("Q07"));
    EXPECT_EQ(pages()[0].text(QStringLiteral("Page")), QStringLiteral("1"));
}

TEST_P(QualityCardReportTest, EighthCardStartsASecondPageWithTheOtherFramesHidden)
{
    addQualities(8);
    ASSERT_EQ(print(all()), Outcome::Done);
    ASSERT_EQ(pages().size(), 2);
    const RecordedPage &second = pages()[1];
    EXPECT_EQ(second.text(QStringLiteral("Page")), QStringLiteral("2"));
    EXPECT_TRUE(framed(second, 1));
    EXPECT_EQ(second.text(QStringLiteral("QUL_KEY1")), QStringLiteral("Q08"));
    for (int b = 2; b <= 7; ++b) {
        EXPECT_TRUE(unframed(second, b)) << b;
        EXPECT_EQ(second.text(QStringLiteral("QUL_NO%1").arg(b)), QString()) << b;
    }
}

TEST_P(QualityCardReportTest, CardShowsTheDateOfTheStampAndTheJoinedLayout)
{
    addQuality(QStringLiteral("Q1"),
               {{QStringLiteral("TIME_STAMP"), QStringLiteral("2004/05/06 10:11:12")},
                {QStringLiteral("LAYOUT2"), QStringLiteral("2")},
                {QStringLiteral("LAYOUT3"), QStringLiteral("")},
                {QStringLiteral("LAYOUT4"), QStringLiteral("3")},
                {QStringLiteral("USER_NM"), QStringLiteral("山田")},
                {QStringLiteral("BUI10"), QStringLiteral("裏地")},
                {QStringLiteral("SOS10"), QStringLiteral("キュプラ")},
                {QStringLiteral("KON10"), QStringLiteral("100%")},
                {QStringLiteral("EHJ6"), QStringLiteral("J6")},
                {QStringLiteral("EFUKI2"), QStringLiteral("陰干し")}});
    ASSERT_EQ(print(all()), Outcome::Done);
    const RecordedPage &page = pages()[0];
    EXPECT_EQ(page.text(QStringLiteral("TIME_STAMP1")), QStringLiteral("2004/05/06"));
    EXPECT_EQ(page.text(QStringLiteral("LAYOUT1")), QStringLiteral("23"));
    EXPECT_EQ(page.text(QStringLiteral("USER_NM1")), QStringLiteral("山田"));
    EXPECT_EQ(page.text(QStringLiteral("BUI1_10")) + page.text(QStringLiteral("SOS1_10")) +
                  page.text(QStringLiteral("KON1_10")),
              QStringLiteral("裏地キュプラ100%"));
    EXPECT_EQ(page.text(QStringLiteral("EHJ1_6")), QStringLiteral("J6"));
    EXPECT_EQ(page.text(QStringLiteral("EFUKI1_2")), QStringLiteral("陰干し"));
}

TEST_P(QualityCardReportTest, DatePromptSelectsTheRecordsSavedThatDay)
{
    addQuality(QStringLiteral("Q2"),
               {{QStringLiteral("TIME_STAMP"), QStringLiteral("2004/05/06 23:59:59")}});
    addQuality(QStringLiteral("Q1"),
               {{QStringLiteral("TIME_STAMP"), QStringLiteral("2004/05/06 00:00:00")}});
    addQuality(QStringLiteral("Q3"),
               {{QStringLiteral("TIME_STAMP"), QStringLiteral("2004/05/07 08:00:00")}});
    dialogs.inputs = {QStringLiteral("2004/05/06")};
    QList<QSqlRecord> rows = QualityCardSelection::askAndSelect(db(), dialogs);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].value(rows[0].indexOf(QStringLiteral("QUL_KEY"))).toString(),
              QStringLiteral("Q1"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("日付を指定できます。"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("印刷"));

    // Cancel or an empty answer prints every record, after saying so.
    dialogs.clear();
    dialogs.inputs = {std::nullopt};
    rows = QualityCardSelection::askAndSelect(db(), dialogs);
    EXPECT_EQ(rows.size(), 3);
    EXPECT_EQ(dialogs.messages(), QStringList({QStringLiteral("全件印刷します。")}));

    // A day without saves: nothing to print.
    dialogs.clear();
    dialogs.inputs = {QStringLiteral("2004/05/08")};
    rows = QualityCardSelection::askAndSelect(db(), dialogs);
    EXPECT_TRUE(rows.isEmpty());
    EXPECT_EQ(dialogs.messages(), QStringList({QStringLiteral("レコードがありません。")}));
    EXPECT_EQ(dialogs.last().title, QStringLiteral("印刷"));

    // A date typed without leading zeros means the same day.
    dialogs.clear();
    EXPECT_EQ(QualityCardSelection::selectByDate(db(), dialogs, QStringLiteral("2004/5/7")).size(),
              1);
}

TEST_P(QualityCardReportTest, NoRowsPrintNothing)
{
    EXPECT_EQ(print({}), Outcome::Refused);
    EXPECT_TRUE(pages().isEmpty());
    EXPECT_TRUE(opened.isEmpty());
}
