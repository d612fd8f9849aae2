#include "MonthlyRegister.h"
#include "ConditionText.h"
#include "DbTest.h"
#include "ImportDates.h"

namespace {
const QString kOneOpen =
    QStringLiteral("確定されていない月次業務が存在します。\n月次業務は一つだけ有効に出来ます。");
const QString kOlder =
    QStringLiteral("入力された値は本日の日付より古いです。\nそれでも新規作成しますか？");
} // namespace

class MonthlyRegisterTest : public DbTest {
protected:
    MonthlyRegister reg() { return MonthlyRegister(db(), dialogs, QDate(2026, 12, 8)); }

    void addMonth(const QString &nen, const QString &tuki, const QString &flg)
    {
        db().exec(QStringLiteral("INSERT INTO SYS_TUKI(NEN, TUKI, KAKUTEI_FLG) VALUES(:n, :t, :f)"),
                  {{"n", nen}, {"t", tuki}, {"f", flg}});
    }
    QString flagOf(const QString &nen, const QString &tuki)
    {
        return db()
            .scalar(QStringLiteral("SELECT KAKUTEI_FLG FROM SYS_TUKI WHERE NEN = :n AND TUKI = :t"),
                    {{"n", nen}, {"t", tuki}})
            .toString();
    }
    Outcome create(QString nen, QString tuki) { return reg().createMonth(nen, tuki); }
};
INSTANTIATE_ENGINES(MonthlyRegisterTest);

TEST_P(MonthlyRegisterTest, APastMonthIsStoredWithTwoDigitsAfterBothQuestions)
{
    QString nen = QStringLiteral("2004");
    QString tuki = QStringLiteral("3");
    EXPECT_EQ(reg().createMonth(nen, tuki), Outcome::Done);
    EXPECT_EQ(tuki, QStringLiteral("03"));
    ASSERT_EQ(dialogs.shown.size(), 3);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("2004年03月の月次業務を新規作成します。"));
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Question);
    EXPECT_EQ(dialogs.shown[1].text, kOlder);
    EXPECT_EQ(dialogs.shown[1].icon, Icon::Error);
    EXPECT_EQ(dialogs.shown[2].text, QStringLiteral("完了しました。"));
    EXPECT_EQ(flagOf("2004", "03"), QStringLiteral("0"));
}

TEST_P(MonthlyRegisterTest, OnlyTheCurrentOrAnOlderMonthAsksTwice)
{
    EXPECT_EQ(create("2027", "01"), Outcome::Done); // a later month: one question
    EXPECT_EQ(dialogs.count(Shown::Question), 1);
    db().exec(QStringLiteral("DELETE FROM SYS_TUKI"));
    dialogs.clear();

    dialogs.answers = {true, false}; // the current month: the second question, answered No
    EXPECT_EQ(create("2026", "12"), Outcome::Declined);
    EXPECT_EQ(dialogs.texts(),
              QStringList({QStringLiteral("2026年12月の月次業務を新規作成します。"), kOlder}));
    dialogs.clear();
    dialogs.answers = {false};
    EXPECT_EQ(create("2027", "2"), Outcome::Declined);
    EXPECT_EQ(count("SYS_TUKI"), 0);
}

TEST_P(MonthlyRegisterTest, BadYearsAndMonthsAreRefusedWithoutAQuestion)
{
    const QList<QPair<QString, QString>> bad = {
        {"2002", "5"}, {"2100", "5"},  {"2003", "0"},   {"2003", "13"},  {"", "5"},
        {"2004", ""},  {"abc", "5"},   {"2004", "x"},   {"2004.5", "5"}, {"2004", "012"},
        {"20'4", "5"}, {"-2004", "5"}, {"2004", "1.5"},
    };
    for (const auto &[nen, tuki] : bad) {
        dialogs.clear();
        EXPECT_EQ(create(nen, tuki), Outcome::Refused)
            << nen.toStdString() << "/" << tuki.toStdString();
        EXPECT_EQ(dialogs.texts(), QStringList({QStringLiteral("不正です。")}));
        EXPECT_EQ(dialogs.last().icon, Icon::Error);
    }
    EXPECT_EQ(count("SYS_TUKI"), 0);
}

TEST_P(MonthlyRegisterTest, TheYearsFrom2003To2099AreAccepted)
{
    EXPECT_EQ(create("2003", "1"), Outcome::Done);
    db().exec(QStringLiteral("UPDATE SYS_TUKI SET KAKUTEI_FLG = '1'"));
    EXPECT_EQ(create("2099", "12"), Outcome::Done);
    db().exec(QStringLiteral("UPDATE SYS_TUKI SET KAKUTEI_FLG = '1'"));
    // Digits typed full-width with the input method, and stray blanks.
    QString nen = QStringLiteral("２０２７");
    QString tuki = QStringLiteral(" ４");
    EXPECT_EQ(reg().createMonth(nen, tuki), Outcome::Done);
    EXPECT_EQ(nen, QStringLiteral("2027"));
    EXPECT_EQ(tuki, QStringLiteral("04"));
    EXPECT_EQ(flagOf("2027", "04"), QStringLiteral("0"));
    EXPECT_EQ(count("SYS_TUKI"), 3);
}

TEST_P(MonthlyRegisterTest, OnlyOneMonthMayBeOpen)
{
    addMonth("2026", "12", "0");
    EXPECT_EQ(create("2027", "01"), Outcome::Refused);
    EXPECT_EQ(dialogs.texts(), QStringList({kOneOpen})); // refused before any question
    EXPECT_EQ(dialogs.last().icon, Icon::Error);
    EXPECT_EQ(count("SYS_TUKI"), 1);

    addMonth("2026", "10", "1");
    dialogs.clear();
    EXPECT_EQ(reg().reopenMonth("2026", "10"), Outcome::Refused);
    EXPECT_EQ(dialogs.texts(),
              QStringList({QStringLiteral("2026年10月の処理を取り消しします。"), kOneOpen}));
    EXPECT_EQ(flagOf("2026", "10"), QStringLiteral("1"));
}

TEST_P(MonthlyRegisterTest, AMonthAlreadyInTheRegisterIsNotCreatedTwice)
{
    addMonth("2027", "01", "1");
    EXPECT_EQ(create("2027", "1"), Outcome::Refused);
    EXPECT_EQ(dialogs.texts(),
              QStringList({QStringLiteral("2027年01月の月次業務は既に作成されています。")}));
    EXPECT_EQ(count("SYS_TUKI"), 1);
    EXPECT_EQ(flagOf("2027", "01"), QStringLiteral("1"));
}

TEST_P(MonthlyRegisterTest, ConfirmAndReopenRunTheirQuestionsAndKeepOneMonthOpen)
{
    addMonth("2026", "11", "1");
    addMonth("2026", "12", "0");
    EXPECT_EQ(reg().confirmMonth("2026", "12"), Outcome::Done);
    EXPECT_EQ(dialogs.texts(),
              QStringList({QStringLiteral("2026年12月の処理を確定します。\n\n"
                                          "確定すると管理NOのナンバリングが0に戻ります。"),
                           QStringLiteral("2026年12月を確定しました。")}));
    EXPECT_EQ(dialogs.shown.first().icon, Icon::Question);
    EXPECT_EQ(dialogs.last().icon, Icon::Information);
    EXPECT_EQ(flagOf("2026", "12"), QStringLiteral("1"));

    dialogs.clear();
    EXPECT_EQ(reg().reopenMonth("2026", "11"), Outcome::Done);
    EXPECT_EQ(dialogs.count(Shown::Message), 0);
    EXPECT_EQ(flagOf("2026", "11"), QStringLiteral("0"));

    dialogs.clear();
    dialogs.answers = {false};
    EXPECT_EQ(reg().confirmMonth("2026", "11"), Outcome::Declined);
    EXPECT_EQ(flagOf("2026", "11"), QStringLiteral("0"));
}

TEST_P(MonthlyRegisterTest, EmptyInputsBeepAndUnknownMonthsChangeNothing)
{
    addMonth("2026", "12", "0");
    EXPECT_EQ(reg().confirmMonth("", "12"), Outcome::Refused);
    EXPECT_EQ(reg().reopenMonth("2026", ""), Outcome::Refused);
    EXPECT_EQ(dialogs.count(Shown::Beep), 2);
    EXPECT_EQ(dialogs.shown.size(), 2);

    dialogs.clear();
    EXPECT_EQ(reg().confirmMonth("2030", "01"), Outcome::Unchanged);
    EXPECT_EQ(reg().confirmMonth("20'26", "12"), Outcome::Unchanged); // typed as it stands
    EXPECT_EQ(dialogs.count(Shown::Message), 0);
    EXPECT_EQ(flagOf("2026", "12"), QStringLiteral("0"));
}

TEST_P(MonthlyRegisterTest, MonthsAreListedNewestFirst)
{
    addMonth("2026", "02", "1");
    addMonth("2027", "01", "0");
    addMonth("2026", "12", "1");
    const QList<BusinessMonth> months = reg().months();
    ASSERT_EQ(months.size(), 3);
    EXPECT_EQ(months[0].nen + months[0].tuki + months[0].kakuteiFlg, QStringLiteral("2027010"));
    EXPECT_EQ(months[1].nen + months[1].tuki + months[1].kakuteiFlg, QStringLiteral("2026121"));
    EXPECT_EQ(months[2].nen + months[2].tuki, QStringLiteral("202602"));
}

TEST_P(MonthlyRegisterTest, ImportDatesListUnconfirmedDaysNewestFirst)
{
    for (const auto &[date, flg] : QList<QPair<QString, QString>>{
             {"20261201", "0"}, {"20261208", "0"}, {"20261130", "1"}, {"20261205", "0"}})
        db().exec(QStringLiteral("INSERT INTO SYS_IMPDATE(IMP_DATE, KAKUTEI_FLG) VALUES(:d, :f)"),
                  {{"d", date}, {"f", flg}});
    EXPECT_EQ(ImportDates::unconfirmed(db()), QStringList({"20261208", "20261205", "20261201"}));
}

TEST_P(MonthlyRegisterTest, TheImportConditionReadsAsBeforeAndCannotBeBroken)
{
    EXPECT_EQ(conditionText(ImportDates::whereFor(QStringLiteral("20261208"))),
              QStringLiteral("Where IMP_DATE = '20261208' And FLG3 = '0' And FLG4 = '0' "));
    db().exec(QStringLiteral("INSERT INTO TBL_ORDER(IMP_DATE, IMP_LN) VALUES('2026''08', 1)"));
    db().exec(QStringLiteral("INSERT INTO TBL_ORDER(IMP_DATE, IMP_LN) VALUES('20261208', 1)"));
    const OrderCondition where = ImportDates::whereFor(QStringLiteral("2026'08"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER ") + where.text(),
                          where.params())
                  .toInt(),
              1);
    const OrderCondition hostile = ImportDates::whereFor(QStringLiteral("x' OR '1'='1"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER ") + hostile.text(),
                          hostile.params())
                  .toInt(),
              0);
}
