// Several workstations on one database at the same time: imports of different days of one
// business month, bulk updates, conversions of overlapping conditions, cancels, confirmations,
// error checks and edits of the same lines, in any interleaving. Afterwards nothing may be
// lost or mixed: control numbers unique and consecutive, every converted line owned by exactly
// one run, no mark left, no edit overwritten without the operator being told.
//
// Once with ostera processes (the batch commands), once with the logic units in threads, each
// thread on its own connection. 4 workstations x 50 operations here; scripts/soak runs 1 000.
#include "Clock.h"
#include "Confirmation.h"
#include "ConversionCancel.h"
#include "ConversionRun.h"
#include "DeskFixture.h"
#include "ImportDates.h"
#include "ImportRun.h"
#include "OrderBulkUpdate.h"
#include "OrderCheck.h"
#include "OrderEditModel.h"
#include "ScriptedDialogs.h"
#include "globals.h"

#include <QDate>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSqlRecord>
#include <QThread>

#include <mutex>
#include <random>
#include <thread>

namespace {

constexpr int kWorkstations = 4;
constexpr int kLinesPerDay = 24;

// The days the workstations import, handed out in order; sometimes a workstation tries a day
// another one has taken already (two operators on the same file).
class DayPlan {
public:
    explicit DayPlan(QStringList days) : m_days(std::move(days)) {}

    // The day to import next; std::nullopt when every day has been handed out.
    std::optional<QString> importDay(std::mt19937 &random)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_taken.isEmpty() && random() % 4 == 0)
            return m_taken.last();
        if (m_next >= m_days.size())
            return std::nullopt;
        m_taken << m_days.at(m_next++);
        return m_taken.last();
    }
    // A day taken for import (maybe not yet imported), the recent ones more often.
    std::optional<QString> workDay(std::mt19937 &random)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_taken.isEmpty())
            return std::nullopt;
        const int recent = int(qMin<qsizetype>(m_taken.size(), 4));
        const int at = random() % 3 == 0 ? int(random() % m_taken.size())
                                         : int(m_taken.size()) - 1 - int(random() % recent);
        return m_taken.at(at);
    }

private:
    std::mutex m_mutex;
    QStringList m_days;
    QStringList m_taken;
    int m_next = 0;
};

enum class Op { Import, Update, Convert, Cancel, Confirm, Check, Edit };

Op pickOp(std::mt19937 &random, bool edits)
{
    const int r = int(random() % 100);
    if (r < 15)
        return Op::Import;
    if (r < 32)
        return Op::Update;
    if (r < 60)
        return Op::Convert;
    if (r < 70)
        return Op::Cancel;
    if (r < 72)
        return Op::Confirm;
    if (r < 78 || !edits)
        return Op::Check;
    return Op::Edit;
}

QString setDate(const QString &day, int plusDays)
{
    return QDate::fromString(day, QStringLiteral("yyyyMMdd"))
        .addDays(plusDays)
        .toString(QStringLiteral("yyyy/MM/dd"));
}

// What the workstations did, gathered after they have all finished.
struct Tally {
    QMap<QString, int> imported;         // day -> successful imports
    QMap<QString, QList<int>> runCounts; // day -> lines of each successful conversion
    QMap<QString, int> cancels;          // day -> successful cancels
    QMap<QString, int> confirmations;    // day -> successful confirmations
    QMap<QString, int> operations;       // kind -> count
    QMap<QString, int> refusals;         // kind -> refusals the desk gives by design
    QStringList databaseErrors;          // failures reported with a database error
    QStringList faults;                  // outcomes that must not happen

    void add(const Tally &other)
    {
        for (auto it = other.imported.cbegin(); it != other.imported.cend(); ++it)
            imported[it.key()] += it.value();
        for (auto it = other.runCounts.cbegin(); it != other.runCounts.cend(); ++it)
            runCounts[it.key()] << it.value();
        for (auto it = other.cancels.cbegin(); it != other.cancels.cend(); ++it)
            cancels[it.key()] += it.value();
        for (auto it = other.confirmations.cbegin(); it != other.confirmations.cend(); ++it)
            confirmations[it.key()] += it.value();
        for (auto it = other.operations.cbegin(); it != other.operations.cend(); ++it)
            operations[it.key()] += it.value();
        for (auto it = other.refusals.cbegin(); it != other.refusals.cend(); ++it)
            refusals[it.key()] += it.value();
        databaseErrors << other.databaseErrors;
        faults << other.faults;
    }
    int total(const QMap<QString, int> &m) const
    {
        int n = 0;
        for (int v : m)
            n += v;
        return n;
    }
    int runs() const
    {
        int n = 0;
        for (const QList<int> &r : runCounts)
            n += int(r.size());
        return n;
    }
};

// Every workstation works in a thread of its own, all at once; their counts added up.
template <class Workstation>
Tally workAtOnce(std::vector<std::unique_ptr<Workstation>> &workstations)
{
    std::vector<std::thread> threads;
    for (auto &w : workstations)
        threads.emplace_back([&w] { w->work(); });
    for (std::thread &t : threads)
        t.join();
    Tally tally;
    for (auto &w : workstations)
        tally.add(w->tally);
    return tally;
}

// The last thing a failed operation said (its message), on one line.
QString lastMessage(const QString &output)
{
    const QStringList lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const QString line = lines.at(i).trimmed();
        if (!line.isEmpty() && !line.contains(QLatin1String("...")))
            return line.left(300);
    }
    return output.right(300).simplified();
}

const QString kAlreadyImported = QStringLiteral("既に読み込まれています");
const QString kNoRecords = QStringLiteral("レコードがありません。");
const QString kNoPrinter = QStringLiteral("印刷機種が設定されていないレコードが含まれています。");
const QString kImported = QStringLiteral("処理は終了しました。");

} // namespace

class WorkstationsTest : public DeskFixture {
protected:
    QStringList prepareDays(int count)
    {
        QStringList days;
        QDate day(2026, 1, 5);
        for (int i = 0; i < count; ++i, day = day.addDays(1)) {
            const QString d = day.toString(QStringLiteral("yyyyMMdd"));
            writeOrderFile(d, kLinesPerDay, quint32(1000 + i));
            days << d;
        }
        return days;
    }

    QString fileOf(const QString &day) const
    {
        return path(QStringLiteral("orders/ORDER_%1.txt").arg(day));
    }

    // The checks every run of the workstations ends with.
    void expectNothingLostOrMixed(const Tally &tally, const QString &name)
    {
        Db &check = db();
        QMap<QString, int> expectedLines;
        for (auto it = tally.imported.cbegin(); it != tally.imported.cend(); ++it) {
            EXPECT_EQ(it.value(), 1) << it.key().toStdString() << " imported more than once";
            expectedLines.insert(it.key(), kLinesPerDay);
        }
        const QStringList numbering = numberingFaults(check);
        const QStringList imports = importFaults(check, expectedLines);
        const QStringList marks = markFaults(check);
        const QStringList stamps = stampFaults(check);
        const QStringList conversions =
            conversionCountFaults(check, tally.runCounts, tally.cancels);
        int temporaries = 0;
        const QStringList files = outputFileFaults(&temporaries);
        EXPECT_EQ(numbering, QStringList());
        EXPECT_EQ(imports, QStringList());
        EXPECT_EQ(marks, QStringList());
        EXPECT_EQ(stamps, QStringList());
        EXPECT_EQ(conversions, QStringList());
        EXPECT_EQ(files, QStringList());
        EXPECT_EQ(temporaries, 0);
        EXPECT_EQ(tally.faults, QStringList());
        const int registered = count(QStringLiteral("SYS_IMPDATE"));
        const int converted = count(QStringLiteral("TBL_ORDER"), QStringLiteral("FLG3 = '1'"));
        printFigures(name,
                     {QStringLiteral("engine=%1").arg(isPostgreSQL() ? "PostgreSQL" : "SQLite"),
                      QStringLiteral("workstations=%1").arg(kWorkstations),
                      QStringLiteral("operations=%1").arg(tally.total(tally.operations)),
                      QStringLiteral("days=%1").arg(registered),
                      QStringLiteral("lines=%1").arg(count(QStringLiteral("TBL_ORDER"))),
                      QStringLiteral("runs=%1").arg(tally.runs()),
                      QStringLiteral("cancels=%1").arg(tally.total(tally.cancels)),
                      QStringLiteral("confirmations=%1").arg(tally.total(tally.confirmations)),
                      QStringLiteral("converted=%1").arg(converted),
                      QStringLiteral("refusals=%1").arg(tally.total(tally.refusals)),
                      QStringLiteral("db_errors=%1").arg(tally.databaseErrors.size()),
                      QStringLiteral("duplicate_numbers=%1").arg(numbering.size()),
                      QStringLiteral("double_conversions=%1").arg(conversions.size()),
                      QStringLiteral("stuck_marks=%1").arg(marks.size()),
                      QStringLiteral("broken_files=%1").arg(files.size()),
                      QStringLiteral("faults=%1").arg(tally.faults.size())});
        QStringList kinds;
        for (auto it = tally.operations.cbegin(); it != tally.operations.cend(); ++it)
            kinds << QStringLiteral("%1=%2/%3")
                         .arg(it.key())
                         .arg(it.value())
                         .arg(tally.refusals.value(it.key()));
        printFigures(name + QStringLiteral(" operations/refusals"), kinds);
        QMap<QString, int> distinct;
        for (const QString &e : tally.databaseErrors)
            ++distinct[e];
        for (auto it = distinct.cbegin(); it != distinct.cend(); ++it)
            std::cout << "  reported database error (" << it.value()
                      << "x): " << it.key().toStdString() << std::endl;
    }
};
INSTANTIATE_ENGINES(WorkstationsTest);

// --- processes ------------------------------------------------------------------------------

namespace {

struct ProcessWorkstation {
    int index;
    int operations;
    DayPlan &plan;
    std::function<DeskFixture::ProgramRun(const QStringList &)> run;
    std::function<QString(const QString &)> fileOf;
    std::function<void()> collect; // the production floor takes the finished files
    Tally tally;

    void work()
    {
        std::mt19937 random(quint32(17 + index));
        for (int i = 0; i < operations; ++i)
            one(pickOp(random, false), random);
    }

    void one(Op op, std::mt19937 &random)
    {
        if (op == Op::Import) {
            const auto day = plan.importDay(random);
            if (day)
                importDay(*day);
            return;
        }
        const auto day = plan.workDay(random);
        if (!day)
            return;
        switch (op) {
        case Op::Update:
            expectOk(QStringLiteral("update"),
                     run({QStringLiteral("update"), *day, QStringLiteral("--printer"),
                          random() % 5 == 0 ? QStringLiteral("ロータリー凸版")
                                            : QStringLiteral("TT-200")}),
                     {});
            break;
        case Op::Convert:
            collect();
            convert(*day, random);
            break;
        case Op::Cancel:
            if (expectOk(QStringLiteral("cancel"),
                         run({QStringLiteral("cancel"), *day, QStringLiteral("--yes")}),
                         {kNoRecords}))
                ++tally.cancels[*day];
            break;
        case Op::Confirm:
            if (expectOk(QStringLiteral("confirm"),
                         run({QStringLiteral("confirm"), *day, QStringLiteral("--yes")}),
                         {kNoRecords}))
                ++tally.confirmations[*day];
            break;
        default:
            expectOk(QStringLiteral("check"), run({QStringLiteral("check"), *day}), {kNoRecords});
            break;
        }
    }

    void importDay(const QString &day)
    {
        ++tally.operations[QStringLiteral("import")];
        const DeskFixture::ProgramRun o =
            run({QStringLiteral("import"), fileOf(day), QStringLiteral("--date"), day});
        if (o.err.contains(kImported)) {
            ++tally.imported[day];
            if (o.status != 0) // imported, but the check reported a failure
                tally.databaseErrors
                    << QStringLiteral("import ") + day + QStringLiteral(": ") + lastMessage(o.err);
            return;
        }
        if (o.status == 1 && o.err.contains(kAlreadyImported)) {
            ++tally.refusals[QStringLiteral("import")];
            return;
        }
        tally.faults
            << QStringLiteral("import %1: status %2: %3").arg(day).arg(o.status).arg(o.err);
    }

    void convert(const QString &day, std::mt19937 &random)
    {
        QStringList args{QStringLiteral("convert"), day, QStringLiteral("--yes")};
        if (random() % 3 == 0)
            args << QStringLiteral("--machine") << QStringLiteral("thermal");
        if (random() % 2 == 0)
            args << QStringLiteral("--set-date") << setDate(day, int(random() % 6))
                 << setDate(day, 6 + int(random() % 12));
        const DeskFixture::ProgramRun o = run(args);
        if (!expectOk(QStringLiteral("convert"), o, {kNoRecords, kNoPrinter}))
            return;
        static const QRegularExpression count(QStringLiteral("発注レコード件数：(\\d+)"));
        const auto match = count.match(o.out);
        if (!match.hasMatch()) {
            tally.faults << QStringLiteral("convert %1: no result report: %2").arg(day, o.out);
            return;
        }
        tally.runCounts[day] << match.captured(1).toInt();
    }

    // true on success; a refusal the desk gives by design counts as such, anything else is a
    // database error (reported) or a fault (a crash, a time-out, a usage error).
    bool expectOk(const QString &kind, const DeskFixture::ProgramRun &o,
                  const QStringList &refusals)
    {
        ++tally.operations[kind];
        if (o.status == 0)
            return true;
        if (o.status == 1) {
            for (const QString &r : refusals)
                if (o.err.contains(r)) {
                    ++tally.refusals[kind];
                    return false;
                }
            tally.databaseErrors << kind + QStringLiteral(": ") + lastMessage(o.err);
            return false;
        }
        tally.faults << QStringLiteral("%1: status %2: %3").arg(kind).arg(o.status).arg(o.err);
        return false;
    }
};

} // namespace

TEST_P(WorkstationsTest, OsteraProcessesOnOneDatabaseLoseAndMixNothing)
{
    const int operations = scaled(50, 1000);
    DayPlan plan(prepareDays(scaled(24, 220)));
    std::vector<std::unique_ptr<ProcessWorkstation>> workstations;
    for (int w = 0; w < kWorkstations; ++w)
        workstations.push_back(std::make_unique<ProcessWorkstation>(
            ProcessWorkstation{w,
                               operations,
                               plan,
                               [this](const QStringList &args) { return ostera(args); },
                               [this](const QString &day) { return fileOf(day); },
                               [this] { collectOutputFiles(); },
                               {}}));
    const Tally tally = workAtOnce(workstations);
    EXPECT_GT(tally.runs(), 0);
    EXPECT_GT(tally.imported.size(), 0);
    expectNothingLostOrMixed(tally, QStringLiteral("workstations (ostera processes)"));
}

// --- logic units in threads -----------------------------------------------------------------

namespace {

// The columns of the order edit screen, whose values the optimistic check compares.
QList<GridColumn> editScreenColumns()
{
    QList<GridColumn> columns{
        GridColumn(QStringLiteral("IMP_DATE"), QStringLiteral("IMP_DATE"), 2000)
            .hidden()
            .readOnly(),
        GridColumn(QStringLiteral("IMP_LN"), QStringLiteral("IMP_LN"), 2000).hidden().readOnly()};
    const char *const editable[] = {
        "PRINTER", "DATA_FLG", "CAR_CD",     "SU",          "LOT_SU",   "LOT_AVG", "SPARE_SU",
        "YARE_SU", "KNR_NO",   "LOT_NO",     "ORD_DATE",    "SET_DATE", "FC_RG",   "FC_CD",
        "FC_NM",   "FC_RNM",   "HINBAN",     "COL",         "S_END",    "S_TBL",   "S_FLD",
        "ROW",     "SCN",      "SEISAN_NEN", "SEISAN_TUKI", "GENSAN1",  "GENSAN2", "SEIZOUMOTO",
        "QUL_KEY", "SIZE_KEY", "FLG1",       "FLG5"};
    for (const char *field : editable)
        columns << GridColumn(QLatin1String(field), QLatin1String(field), 1000);
    return columns;
}

// One conversion as the threads saw it: the lines it marked (read under the conversion lock,
// in the order the runs held it) and the stamp it gave them.
struct RunRecord {
    QString day;
    int sequence = 0;
    QString stamp;
    QSet<int> lines;
    int orderCount = 0;
    // What each line held when the run took it (printer, machine flag, 原産国2): a converted
    // line must not change afterwards, or it no longer says what was printed.
    QMap<int, QString> taken;
};

const char *const kTakenColumns = "PRINTER || '|' || DATA_FLG || '|' || GENSAN2";

struct EditRecord {
    QString read;  // GENSAN2 as the screen showed it
    QString typed; // the value written over it
};

struct Shared {
    ConnectionSettings settings;
    OutputFolders folders;
    QString nen;
    QString tuki;
    std::atomic<int> sequence{0};
    std::mutex mutex;
    QList<RunRecord> runs;
    QMap<QPair<QString, int>, QList<EditRecord>> edits; // (day, line) -> successful edits
    int editsRefused = 0;
    int editsNotShown = 0;
};

struct ThreadWorkstation {
    int index;
    int operations;
    DayPlan &plan;
    Shared &shared;
    std::function<QString(const QString &)> fileOf;
    std::function<void()> collect; // the production floor takes the finished files
    Tally tally;

    void work()
    {
        Db db(shared.settings);
        try {
            db.open();
        } catch (const DbError &e) {
            tally.faults
                << QStringLiteral("workstation %1 cannot connect: %2").arg(index).arg(e.describe());
            return;
        }
        std::mt19937 random(quint32(71 + index));
        for (int i = 0; i < operations; ++i) {
            ScriptedDialogs dialogs;
            one(db, dialogs, pickOp(random, true), random, i);
        }
    }

    void one(Db &db, ScriptedDialogs &dialogs, Op op, std::mt19937 &random, int i)
    {
        NullProgress progress;
        if (op == Op::Import) {
            const auto day = plan.importDay(random);
            if (!day)
                return;
            ++tally.operations[QStringLiteral("import")];
            const ImportRequest request{fileOf(*day), *day, shared.nen, shared.tuki,
                                        Clock::today()};
            if (ImportRun(db, dialogs, progress).run(request) == Outcome::Done)
                ++tally.imported[*day];
            else
                judge(QStringLiteral("import"), dialogs, {kAlreadyImported});
            return;
        }
        const auto day = plan.workDay(random);
        if (!day)
            return;
        switch (op) {
        case Op::Update:
            update(db, dialogs, *day, random);
            break;
        case Op::Convert:
            collect();
            convert(db, dialogs, *day, random);
            break;
        case Op::Cancel:
            ++tally.operations[QStringLiteral("cancel")];
            if (ConversionCancel(db, dialogs, progress).run(*day) == Outcome::Done)
                ++tally.cancels[*day];
            else
                judge(QStringLiteral("cancel"), dialogs, {kNoRecords});
            break;
        case Op::Confirm:
            confirm(db, dialogs, *day);
            break;
        case Op::Edit:
            edit(db, *day, int(1 + random() % 4), i);
            break;
        default:
            ++tally.operations[QStringLiteral("check")];
            if (checkDay(db, dialogs, progress, *day) != Outcome::Done)
                judge(QStringLiteral("check"), dialogs, {});
            break;
        }
    }

    void update(Db &db, ScriptedDialogs &dialogs, const QString &day, std::mt19937 &random)
    {
        ++tally.operations[QStringLiteral("update")];
        BulkUpdateValues values;
        const bool letterpress = random() % 5 == 0;
        values.printer = letterpress ? QStringLiteral("ロータリー凸版") : QStringLiteral("TT-200");
        values.dataFlg = letterpress ? QStringLiteral("0") : QStringLiteral("1");
        NullProgress progress;
        OrderBulkUpdate bulk(db, dialogs, progress);
        if (bulk.apply(values, ImportDates::whereFor(day)) != Outcome::Done)
            judge(QStringLiteral("update"), dialogs, {});
    }

    void convert(Db &db, ScriptedDialogs &dialogs, const QString &day, std::mt19937 &random)
    {
        ++tally.operations[QStringLiteral("convert")];
        RunRecord record;
        record.day = day;
        ConversionChecks checks = ConversionChecks::standard();
        // Runs after the mark, under the conversion lock: the marked lines are this run's.
        checks.qualityCheck = [&record, this](Db &d, Dialogs &dl) {
            record.sequence = ++shared.sequence;
            d.forEach(QStringLiteral("SELECT IMP_DATE, IMP_LN, ") + QLatin1String(kTakenColumns) +
                          QStringLiteral(" FROM TBL_ORDER WHERE FLG2 = '1'"),
                      {}, [&](const QSqlQuery &q) {
                          if (q.value(0).toString() != record.day)
                              tally.faults << QStringLiteral("a run of %1 holds a mark of %2")
                                                  .arg(record.day, q.value(0).toString());
                          record.lines.insert(q.value(1).toInt());
                          record.taken.insert(q.value(1).toInt(), q.value(2).toString());
                      });
            return checkRunQualityKeys(d, dl);
        };
        ConversionInput input;
        input.impDate = day;
        input.machine = random() % 3 == 0 ? Machine::Thermal : Machine::Any;
        if (random() % 2 == 0) {
            input.setDateFrom = setDate(day, int(random() % 6));
            input.setDateTo = setDate(day, 6 + int(random() % 12));
        }
        NullProgress progress;
        ConversionRun run(db, dialogs, progress, shared.folders, checks);
        const ConversionResult result = run.run(input);
        if (!result.converted()) {
            judge(QStringLiteral("convert"), dialogs, {kNoRecords, kNoPrinter});
            return;
        }
        record.stamp = result.stamp;
        record.orderCount = result.orderCount;
        if (record.lines.size() != result.orderCount)
            tally.faults << QStringLiteral("run %1 %2 marked %3 lines, reported %4")
                                .arg(day, result.stamp)
                                .arg(record.lines.size())
                                .arg(result.orderCount);
        tally.runCounts[day] << result.orderCount;
        std::lock_guard<std::mutex> lock(shared.mutex);
        shared.runs << record;
    }

    void confirm(Db &db, ScriptedDialogs &dialogs, const QString &day)
    {
        ++tally.operations[QStringLiteral("confirm")];
        NullProgress progress;
        try {
            const ConfirmationCounts counts = Confirmation::counts(db, day);
            if (Confirmation(db, dialogs, progress).run(day, counts) == Outcome::Done)
                ++tally.confirmations[day];
            else
                judge(QStringLiteral("confirm"), dialogs, {kNoRecords});
        } catch (const DbError &e) {
            tally.databaseErrors << QStringLiteral("confirm: ") + e.describe();
        }
    }

    // The edit screen's model on this workstation's connection: the line as the grid shows it,
    // 原産国2 typed over, the line left (written only while it still holds what was read).
    void edit(Db &db, const QString &day, int line, int i)
    {
        ++tally.operations[QStringLiteral("edit")];
        OrderEditModel model([&db] { return &db; });
        model.setColumns(editScreenColumns());
        QStringList failures;
        QObject::connect(&model, &PagedQueryModel::writeFailed,
                         [&failures](const QString &text) { failures << text; });
        try {
            model.setQuery(
                shared.settings,
                QStringLiteral("Select * From TBL_ORDER Where IMP_DATE = ") + Db::quote(day) +
                    QStringLiteral(" And IMP_LN = %1 And FLG3 = '0' And FLG4 = '0' ").arg(line));
        } catch (const DbError &e) {
            tally.databaseErrors << QStringLiteral("edit: ") + e.describe();
            return;
        }
        if (model.rowCount() == 0) {
            std::lock_guard<std::mutex> lock(shared.mutex);
            ++shared.editsNotShown;
            return;
        }
        const int column = model.columnOfField(QStringLiteral("GENSAN2"));
        const EditRecord edit{model.value(0, column).toString(),
                              QStringLiteral("w%1-%2").arg(index).arg(i)};
        // The operator types for a moment; other workstations go on meanwhile.
        QThread::msleep(quint32(edit.typed.size() * 3));
        if (!model.setData(model.index(0, column), edit.typed)) {
            tally.faults << QStringLiteral("edit %1/%2: the cell was not taken").arg(day).arg(line);
            return;
        }
        const bool written = model.writePendingRow();
        std::lock_guard<std::mutex> lock(shared.mutex);
        if (written) {
            shared.edits[{day, line}] << edit;
            return;
        }
        if (failures == QStringList{OrderLineStore::conflictText()})
            ++shared.editsRefused;
        else
            tally.databaseErrors << QStringLiteral("edit: ") + failures.join(QLatin1Char(' '));
    }

    // A failure the desk gives by design is a refusal; any other is a database error, which
    // the operator sees (its message was shown) but which the suite lists.
    void judge(const QString &kind, const ScriptedDialogs &dialogs, const QStringList &refusals)
    {
        const QString shown = dialogs.texts().join(QLatin1Char(' '));
        for (const QString &r : refusals)
            if (shown.contains(r)) {
                ++tally.refusals[kind];
                return;
            }
        tally.databaseErrors << kind + QStringLiteral(": ") +
                                    lastMessage(dialogs.texts().join(QLatin1Char('\n')));
    }
};

// Every conversion the threads made, against the lines as they are now: a run whose lines all
// still carry its stamp is live; a run none of whose lines does (each unconverted again, or
// taken by a later run) was cancelled; anything else is a line converted twice or a run half
// undone. As many runs must be cancelled as cancels succeeded.
QStringList runOwnershipFaults(Db &db, const QList<RunRecord> &runs,
                               const QMap<QString, int> &cancels)
{
    QStringList faults;
    QMap<QString, QList<RunRecord>> byDay;
    for (const RunRecord &r : runs)
        byDay[r.day] << r;
    QSet<QString> days(cancels.keyBegin(), cancels.keyEnd());
    for (auto it = byDay.cbegin(); it != byDay.cend(); ++it)
        days.insert(it.key());
    for (const QString &day : days) {
        QList<RunRecord> dayRuns = byDay.value(day);
        std::sort(dayRuns.begin(), dayRuns.end(),
                  [](const RunRecord &a, const RunRecord &b) { return a.sequence < b.sequence; });
        QMap<int, QPair<QString, QString>> lines; // line -> (FLG3, B1)
        QMap<int, QString> holds;                 // line -> what a run takes (kTakenColumns)
        db.forEach(
            QStringLiteral("SELECT IMP_LN, FLG3, B1, ") + QLatin1String(kTakenColumns) +
                QStringLiteral(" FROM TBL_ORDER WHERE IMP_DATE = :d"),
            {{QStringLiteral("d"), day}}, [&](const QSqlQuery &q) {
                lines.insert(q.value(0).toInt(), {q.value(1).toString(), q.value(2).toString()});
                holds.insert(q.value(0).toInt(), q.value(3).toString());
            });
        QMap<int, int> lastRun; // line -> index of the last run that took it
        for (int i = 0; i < dayRuns.size(); ++i)
            for (int ln : dayRuns[i].lines)
                lastRun[ln] = i;
        int cancelled = 0;
        for (int i = 0; i < dayRuns.size(); ++i) {
            const RunRecord &r = dayRuns[i];
            int owned = 0;
            int given = 0;
            for (int ln : r.lines) {
                const bool later = lastRun.value(ln) != i;
                const auto state = lines.value(ln);
                if (!later && state.first == QLatin1String("1") && state.second == r.stamp)
                    ++owned;
                else if (later || state.first == QLatin1String("0"))
                    ++given;
            }
            if (owned == r.lines.size()) {
                for (int ln : r.lines)
                    if (holds.value(ln) != r.taken.value(ln))
                        faults << QStringLiteral("%1 line %2 changed after run %3 took it: %4, "
                                                 "converted as %5")
                                      .arg(day)
                                      .arg(ln)
                                      .arg(r.stamp, holds.value(ln), r.taken.value(ln));
                continue;
            }
            if (given == r.lines.size()) {
                ++cancelled;
                continue;
            }
            faults << QStringLiteral("%1: run %2 (%3 lines) half live: %4 owned, %5 given up")
                          .arg(day, r.stamp)
                          .arg(r.lines.size())
                          .arg(owned)
                          .arg(given);
        }
        if (cancelled != cancels.value(day))
            faults << QStringLiteral("%1: %2 runs undone, %3 cancels succeeded")
                          .arg(day)
                          .arg(cancelled)
                          .arg(cancels.value(day));
        for (auto l = lines.cbegin(); l != lines.cend(); ++l)
            if (l.value().first == QLatin1String("1") && !lastRun.contains(l.key()))
                faults << QStringLiteral("%1 line %2 converted by no run").arg(day).arg(l.key());
    }
    return faults;
}

// Successful edits of one line must form one chain from the value the import left: each
// edit read what the previous one wrote. Two edits that read the same value both succeeding
// is an edit overwritten without anybody being told.
QStringList lostEditFaults(Db &db, const QMap<QPair<QString, int>, QList<EditRecord>> &edits)
{
    QStringList faults;
    for (auto it = edits.cbegin(); it != edits.cend(); ++it) {
        QMap<QString, QString> next;
        for (const EditRecord &e : it.value()) {
            if (next.contains(e.read))
                faults << QStringLiteral("%1 line %2: %3 and %4 both written over %5")
                              .arg(it.key().first)
                              .arg(it.key().second)
                              .arg(next.value(e.read), e.typed, e.read);
            next.insert(e.read, e.typed);
        }
        QString value;
        int steps = 0;
        while (next.contains(value) && steps <= it.value().size()) {
            value = next.value(value);
            ++steps;
        }
        const QString now = db.scalar(QStringLiteral("SELECT GENSAN2 FROM TBL_ORDER WHERE "
                                                     "IMP_DATE = :d AND IMP_LN = :ln"),
                                      {{QStringLiteral("d"), it.key().first},
                                       {QStringLiteral("ln"), it.key().second}})
                                .toString();
        if (steps != it.value().size() || now != value)
            faults << QStringLiteral("%1 line %2: %3 edits written, %4 in one chain, holds %5 "
                                     "(chain ends at %6)")
                          .arg(it.key().first)
                          .arg(it.key().second)
                          .arg(it.value().size())
                          .arg(steps)
                          .arg(now, value);
    }
    return faults;
}

} // namespace

TEST_P(WorkstationsTest, LogicUnitsOnTheirOwnConnectionsLoseAndMixNothing)
{
    Shared shared;
    shared.settings = settings();
    shared.folders = session.outputFolders();
    shared.nen = m_nen;
    shared.tuki = m_tuki;
    DayPlan plan(prepareDays(scaled(24, 220)));
    const int operations = scaled(50, 1000);
    std::vector<std::unique_ptr<ThreadWorkstation>> workstations;
    for (int w = 0; w < kWorkstations; ++w)
        workstations.push_back(std::make_unique<ThreadWorkstation>(
            ThreadWorkstation{w,
                              operations,
                              plan,
                              shared,
                              [this](const QString &day) { return fileOf(day); },
                              [this] { collectOutputFiles(); },
                              {}}));
    const Tally tally = workAtOnce(workstations);
    EXPECT_GT(tally.runs(), 0);
    const QStringList ownership = runOwnershipFaults(db(), shared.runs, tally.cancels);
    const QStringList lostEdits = lostEditFaults(db(), shared.edits);
    EXPECT_EQ(ownership, QStringList());
    EXPECT_EQ(lostEdits, QStringList());
    int editsWritten = 0;
    for (const QList<EditRecord> &e : shared.edits)
        editsWritten += int(e.size());
    expectNothingLostOrMixed(tally, QStringLiteral("workstations (logic units in threads)"));
    printFigures(QStringLiteral("edits"),
                 {QStringLiteral("engine=%1").arg(isPostgreSQL() ? "PostgreSQL" : "SQLite"),
                  QStringLiteral("written=%1").arg(editsWritten),
                  QStringLiteral("refused_and_reported=%1").arg(shared.editsRefused),
                  QStringLiteral("line_gone_from_screen=%1").arg(shared.editsNotShown),
                  QStringLiteral("lost_edits=%1").arg(lostEdits.size()),
                  QStringLiteral("run_ownership_faults=%1").arg(ownership.size())});
}
