// What an operator may type anywhere: quotes, semicolons, comment dashes, Like wildcards, a
// NUL, an emoji, very long text. Every input is stored as typed (and found again as typed) or
// refused with a clear message; no input makes a broken statement or brings the desk down. Text
// that CP932 cannot hold is refused when it would go into an output file, naming the line.
#include "ConfirmedOrderQuery.h"
#include "ConversionRun.h"
#include "Cp932.h"
#include "CsvFile.h"
#include "DeskFixture.h"
#include "FactoryMaster.h"
#include "ImportRun.h"
#include "MonthlyRegister.h"
#include "NameTypeMaster.h"
#include "OrderBulkUpdate.h"
#include "OrderFindCondition.h"
#include "QualityMaster.h"
#include "SizeRows.h"
#include "WorkTables.h"
#include "globals.h"

#include <QDir>

namespace {

const QString kDay = QStringLiteral("20261201");
const QString kNul = QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b");
const QString kEmoji = QString::fromUtf8("😀");

// The inputs every field is fed.
QStringList hostileTexts()
{
    return {QStringLiteral("'"),
            QStringLiteral("\""),
            QStringLiteral(";"),
            QStringLiteral("--"),
            QStringLiteral("%"),
            QStringLiteral("_"),
            QStringLiteral("O'Brien"),
            QStringLiteral("x' OR '1'='1"),
            QStringLiteral("'); DELETE FROM TBL_ORDER; --"),
            QStringLiteral("50%_off\\"),
            kEmoji + QStringLiteral("注文"),
            kNul,
            QString(5000, QChar(0x9577))}; // 長 five thousand times
}

QString shown(const QString &text)
{
    if (text.size() > 40)
        return text.left(10) + QStringLiteral("... (%1 characters)").arg(text.size());
    QString s = text;
    return s.replace(QChar(u'\0'), QStringLiteral("\\0"));
}

bool isNulRefusal(const DbError &e)
{
    return e.text() == QStringLiteral("NUL文字が含まれています。");
}

} // namespace

class HostileTextTest : public DeskFixture {
protected:
    void SetUp() override
    {
        DeskFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_EQ(ImportRun(db(), dialogs, progress)
                      .run({writeOrderFile(kDay, 12, 21), kDay, m_nen, m_tuki, QDate(2026, 12, 8)}),
                  Outcome::Done)
            << dialogs.texts().join('|').toStdString();
        m_before = count(QStringLiteral("TBL_ORDER"));
        dialogs.clear();
    }

    // Writes the value into one line as an edit would (bound); false when it is refused,
    // which only a NUL may be, with its clear message.
    bool storeInLine(int line, const QString &column, const QString &value)
    {
        try {
            db().exec(QStringLiteral("UPDATE TBL_ORDER SET ") + column +
                          QStringLiteral(" = :v WHERE IMP_DATE = :d AND IMP_LN = :ln"),
                      {{QStringLiteral("v"), value},
                       {QStringLiteral("d"), kDay},
                       {QStringLiteral("ln"), line}});
        } catch (const DbError &e) {
            EXPECT_TRUE(isNulRefusal(e)) << e.describe().toStdString();
            EXPECT_EQ(value, kNul);
            return false;
        }
        return true;
    }

    // Runs a condition the way the screens run theirs; a DbError is a broken statement.
    int linesMatching(const OrderCondition &condition, const QString &what)
    {
        try {
            return db()
                .scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER ") + condition.text(),
                        condition.params())
                .toInt();
        } catch (const DbError &e) {
            ADD_FAILURE() << what.toStdString()
                          << ": broken statement: " << e.describe().toStdString();
            return -1;
        }
    }

    int m_before = 0;
};
INSTANTIATE_ENGINES(HostileTextTest);

// The find dialog's condition builder: a typed value finds the line that holds it (with "%",
// as a Like pattern that matches it), or the criterion is refused with its message.
TEST_P(HostileTextTest, FindConditionFindsWhatWasTypedOrRefusesIt)
{
    const QList<QPair<QString, QString OrderFindCriteria::*>> textCriteria = {
        {QStringLiteral("FC_RG"), &OrderFindCriteria::fcRg},
        {QStringLiteral("HINBAN"), &OrderFindCriteria::hinban},
        {QStringLiteral("KNR_NO"), &OrderFindCriteria::knrNo},
        {QStringLiteral("LOT_NO"), &OrderFindCriteria::lotNo},
        {QStringLiteral("QUL_KEY"), &OrderFindCriteria::qulKey},
        {QStringLiteral("CAR_CD"), &OrderFindCriteria::carCd}};
    for (const QString &text : hostileTexts()) {
        for (const auto &[column, field] : textCriteria) {
            const QString what = column + QStringLiteral(" = ") + shown(text);
            if (!storeInLine(3, column, text))
                continue;
            OrderFindCriteria criteria;
            criteria.impDate = kDay;
            criteria.*field = text;
            const OrderFindResult found = OrderFindCondition::build(criteria);
            if (!found.ok())
                continue; // refused with its message (a Like on ネーム種, for instance)
            const int n = linesMatching(found.condition, what);
            if (text.contains(QLatin1Char('%')))
                EXPECT_GE(n, 1) << what.toStdString();
            else
                EXPECT_EQ(n, 1) << what.toStdString();
        }
        // Criteria that are dates, numbers or flags: refused, or a statement that runs.
        for (auto field :
             {&OrderFindCriteria::flg5, &OrderFindCriteria::setDate1, &OrderFindCriteria::setDate2,
              &OrderFindCriteria::lotSu1, &OrderFindCriteria::lotSu2, &OrderFindCriteria::lotAvg1,
              &OrderFindCriteria::lotAvg2}) {
            OrderFindCriteria criteria;
            criteria.impDate = kDay;
            criteria.*field = text;
            const OrderFindResult found = OrderFindCondition::build(criteria);
            if (found.ok())
                linesMatching(found.condition, QStringLiteral("criterion ") + shown(text));
            else
                EXPECT_FALSE(found.refusal.isEmpty());
        }
    }
    // The import date itself travels in the condition too.
    for (const QString &text : hostileTexts()) {
        OrderFindCriteria criteria;
        criteria.impDate = text;
        const OrderFindResult found = OrderFindCondition::build(criteria);
        ASSERT_TRUE(found.ok());
        if (text != kNul) {
            EXPECT_EQ(linesMatching(found.condition, shown(text)), 0);
        }
    }
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER")), m_before);
}

// The bulk update: values not from its lists are refused; over a condition built from hostile
// criteria it changes exactly the lines the condition finds.
TEST_P(HostileTextTest, BulkUpdateRefusesWhatIsNotItsOwnAndHonoursTheCondition)
{
    for (const QString &text : hostileTexts()) {
        for (int which = 0; which < 3; ++which) {
            BulkUpdateValues values;
            (which == 0 ? values.setDate : which == 1 ? values.printer : values.special) = text;
            dialogs.clear();
            EXPECT_EQ(OrderBulkUpdate(db(), dialogs, progress)
                          .apply(values, OrderFindCondition::start(kDay)),
                      Outcome::Refused)
                << shown(text).toStdString();
            ASSERT_EQ(dialogs.count(Shown::Message), 1);
            EXPECT_EQ(dialogs.last().icon, Icon::Error);
        }
        if (!storeInLine(5, QStringLiteral("HINBAN"), text) || text.contains(QLatin1Char('%')))
            continue;
        OrderFindCriteria criteria;
        criteria.impDate = kDay;
        criteria.hinban = text;
        BulkUpdateValues printer;
        printer.printer = QStringLiteral("TT-300");
        printer.dataFlg = QStringLiteral("1");
        OrderBulkUpdate update(db(), dialogs, progress);
        ASSERT_EQ(update.apply(printer, OrderFindCondition::build(criteria).condition),
                  Outcome::Done)
            << dialogs.texts().join('|').toStdString();
        EXPECT_EQ(update.changedLines(), 1) << shown(text).toStdString();
        db().exec(QStringLiteral("UPDATE TBL_ORDER SET PRINTER = ''"));
    }
}

// The masters' save units: every text field and the key stored as typed (a NUL refused with
// its message and nothing saved).
TEST_P(HostileTextTest, MasterSavesStoreWhatWasTyped)
{
    NameTypeMaster car(db());
    QualityMaster qul(db());
    FactoryMaster factory(db());
    const QList<std::pair<MasterTable *, QString>> masters = {{&car, QStringLiteral("SHO_NM1")},
                                                              {&qul, QStringLiteral("SOS1")},
                                                              {&factory, QStringLiteral("FC_NM")}};
    int n = 0;
    for (const QString &text : hostileTexts()) {
        for (const auto &[master, field] : masters) {
            const QString key = MasterTable::trimBlanks(text + QString::number(++n));
            MasterValues values;
            values.insert(master->keyColumn(), key);
            values.insert(field, text);
            values.insert(QStringLiteral("BIKO1"), text);
            const QString what = master->table() + QStringLiteral(" ") + shown(text);
            const int records = count(master->table());
            // A factory abbreviation begins control numbers and print file names: what no
            // file name may hold is refused there, everything else is stored as typed.
            const QString refusal =
                master == &factory ? FactoryMaster::codeRefusal(key) : QString();
            try {
                EXPECT_EQ(master->saveRefusal(ModeNew, key, QString()), refusal)
                    << what.toStdString();
                if (!refusal.isEmpty())
                    continue;
                master->save(ModeNew, QString(), values);
            } catch (const DbError &e) {
                EXPECT_TRUE(isNulRefusal(e))
                    << what.toStdString() << ": " << e.describe().toStdString();
                EXPECT_EQ(count(master->table()), records) << what.toStdString();
                continue;
            }
            EXPECT_NE(text, kNul) << what.toStdString() << ": a NUL was stored";
            const MasterValues loaded = master->load(key);
            EXPECT_EQ(loaded.value(master->keyColumn()), key) << what.toStdString();
            EXPECT_EQ(loaded.value(field), text) << what.toStdString();
            master->remove(key);
            EXPECT_FALSE(master->exists(key)) << what.toStdString();
        }
        SizeRows rows(db());
        try {
            EXPECT_EQ(rows.save(std::nullopt, {text, text}, QStringLiteral("tester"),
                                QStringLiteral("2026/12/08 10:00:00")),
                      QString());
            EXPECT_TRUE(rows.exists({text, text})) << shown(text).toStdString();
        } catch (const DbError &e) {
            EXPECT_TRUE(isNulRefusal(e)) << e.describe().toStdString();
        }
    }
}

// The monthly register takes digits only; anything else is refused with its message.
TEST_P(HostileTextTest, MonthlyRegisterRefusesWhatIsNoMonth)
{
    const int months = count(QStringLiteral("SYS_TUKI"));
    for (const QString &text : hostileTexts()) {
        for (int which = 0; which < 2; ++which) {
            QString nen = which == 0 ? text : QStringLiteral("2027");
            QString tuki = which == 1 ? text : QStringLiteral("01");
            dialogs.clear();
            MonthlyRegister reg(db(), dialogs, QDate(2026, 12, 8));
            EXPECT_EQ(reg.createMonth(nen, tuki), Outcome::Refused) << shown(text).toStdString();
            EXPECT_EQ(dialogs.texts(), QStringList{MonthlyRegister::invalidMessage()});
            try {
                EXPECT_EQ(reg.confirmMonth(text, text), Outcome::Unchanged);
                EXPECT_NE(reg.reopenMonth(text, text), Outcome::Done);
            } catch (const DbError &e) {
                EXPECT_TRUE(isNulRefusal(e)) << e.describe().toStdString();
            }
        }
    }
    EXPECT_EQ(count(QStringLiteral("SYS_TUKI")), months);
}

// The confirmed-order reference: filters as typed, compared as typed.
TEST_P(HostileTextTest, ReferenceQueryFindsWhatWasTyped)
{
    db().exec(QStringLiteral("UPDATE TBL_ORDER SET FLG4 = '1'"));
    for (const QString &text : hostileTexts()) {
        if (!storeInLine(2, QStringLiteral("HINBAN"), text))
            continue;
        storeInLine(2, QStringLiteral("LOT_NO"), text);
        ConfirmedOrderFilters filters;
        filters.hinban = text;
        filters.lotNo = text;
        const QString sql = ConfirmedOrderQuery::sql(filters);
        try {
            EXPECT_EQ(db().rows(sql).size(), 1) << shown(text).toStdString();
            ConfirmedOrderFilters others;
            others.impDate = others.setDate1 = others.setDate2 = others.row = others.seisanTuki =
                others.carCd = text;
            db().rows(ConfirmedOrderQuery::sql(others));
        } catch (const DbError &e) {
            ADD_FAILURE() << shown(text).toStdString() << ": " << e.describe().toStdString();
        }
    }
}

// The batch commands' arguments (a NUL cannot reach them): a usage error or a refusal with its
// message, or taken as typed; never a crash, never a change of what is stored.
TEST_P(HostileTextTest, BatchArgumentsAreRefusedOrTakenAsTyped)
{
    const int lines = count(QStringLiteral("TBL_ORDER"));
    const int days = count(QStringLiteral("SYS_IMPDATE"));
    int runs = 0;
    // A NUL cannot reach a command line; one of each kind of the others is enough here.
    const QStringList texts = {QStringLiteral("'"),
                               QStringLiteral("\";--"),
                               QStringLiteral("%_"),
                               QStringLiteral("x' OR '1'='1"),
                               kEmoji + QStringLiteral("注文"),
                               QString(5000, QChar(0x9577))};
    for (const QString &text : texts) {
        const QList<QStringList> commands = {
            {"import", path("orders/ORDER_20261201.txt"), "--date", text},
            {"import", text, "--date", "20261202"},
            {"update", kDay, "--printer", text},
            {"update", text, "--printer", "TT-200"},
            {"update", kDay, "--set-date", text},
            {"convert", text, "--yes"},
            {"convert", kDay, "--set-date", text, text, "--yes"},
            {"convert", kDay, "--special", text, "--yes"},
            {"convert", kDay, "--machine", text, "--yes"},
            {"cancel", text, "--yes"},
            {"confirm", text, "--yes"},
            {"check", text},
            {"errors", text},
            {"month", "new", text, "01", "--yes"},
            {"month", "confirm", "2026", text, "--yes"},
            {"masters", "load", text},
            {text}};
        for (const QStringList &command : commands) {
            const ProgramRun o = ostera(command);
            ++runs;
            const std::string what = shown(command.join(QLatin1Char(' '))).toStdString();
            EXPECT_FALSE(o.killed) << what;
            EXPECT_TRUE(o.status >= 0 && o.status <= 2) << what << ": " << o.err.toStdString();
            if (o.status != 0) {
                EXPECT_FALSE(o.err.trimmed().isEmpty()) << what;
            }
        }
    }
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER")), lines);
    EXPECT_EQ(count(QStringLiteral("SYS_IMPDATE")), days);
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER"), QStringLiteral("FLG3 = '1'")), 0);
    printFigures(QStringLiteral("hostile batch arguments"),
                 {QStringLiteral("engine=%1").arg(isPostgreSQL() ? "PostgreSQL" : "SQLite"),
                  QStringLiteral("runs=%1").arg(runs)});
}

// Output files: quotes, commas and the rest are written quoted and read back as stored; an
// emoji is refused naming the control number, and the run leaves its lines unconverted.
TEST_P(HostileTextTest, CsvOutputKeepsTheValuesAndRefusesAnEmojiNamingTheLine)
{
    // 発注日 is printed and neither checked nor completed from a master, so the line stays in
    // the run whatever it holds.
    const int printed = int(printDataColumns().indexOf(QStringLiteral("ORD_DATE")));
    ASSERT_GE(printed, 0);
    BulkUpdateValues printer;
    printer.printer = QStringLiteral("TT-200");
    printer.dataFlg = QStringLiteral("1");
    ASSERT_EQ(
        OrderBulkUpdate(db(), dialogs, progress).apply(printer, OrderFindCondition::start(kDay)),
        Outcome::Done);
    const int line =
        db().scalar(QStringLiteral("SELECT MIN(IMP_LN) FROM TBL_ORDER WHERE FLG1 = '0'")).toInt();
    const QString knrNo =
        db().scalar(QStringLiteral("SELECT KNR_NO FROM TBL_ORDER WHERE IMP_LN = :ln"),
                    {{QStringLiteral("ln"), line}})
            .toString();
    const QString odd = QStringLiteral("a\"b,c;--%_'\\");

    ASSERT_TRUE(storeInLine(line, QStringLiteral("ORD_DATE"), kEmoji));
    ConversionInput input;
    input.impDate = kDay;
    ScriptedDialogs runDialogs;
    ConversionRun refused(db(), runDialogs, progress, session.outputFolders());
    EXPECT_FALSE(refused.run(input).converted());
    EXPECT_TRUE(runDialogs.texts().contains(CsvFile::unencodableMessage(knrNo, kEmoji)))
        << runDialogs.texts().join('|').toStdString();
    EXPECT_EQ(count(QStringLiteral("TBL_ORDER"), QStringLiteral("FLG3 <> '0' OR FLG2 <> '0'")), 0);
    EXPECT_EQ(outputFileFaults(), QStringList());

    ASSERT_TRUE(storeInLine(line, QStringLiteral("ORD_DATE"), odd));
    ScriptedDialogs againDialogs;
    ConversionRun run(db(), againDialogs, progress, session.outputFolders());
    ASSERT_TRUE(run.run(input).converted()) << againDialogs.texts().join('|').toStdString();
    EXPECT_EQ(outputFileFaults(), QStringList());
    QFile file(QDir(session.folderSettings().car).filePath(knrNo + QStringLiteral(".csv")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList written =
        Cp932::decode(file.readAll()).value_or(QString()).split(QStringLiteral("\r\n"));
    int found = 0;
    for (const QString &l : written) {
        const auto values = parseCsvLine(l);
        if (values && values->value(printed) == odd)
            ++found;
    }
    EXPECT_EQ(found, 1);
}
