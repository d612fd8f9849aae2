// A workstation that dies in the middle of its work (power cut, killed process): `ostera import`
// and `ostera convert` are killed with SIGKILL just before their k-th statement
// (OSTERA_KILL_AT_STATEMENT), at points spread over the whole run. Afterwards the database holds
// the whole import or none of it (a registered day whose check was cut short is completed by
// `ostera check`), the counters agree with the stored lines, no output file is half written, and
// the same command then succeeds; once it has, no line is left marked.
//
// Every day imports the same order file, so that each day can be compared with a day imported
// without a crash. 5 + 5 points here on each engine; scripts/soak runs 25 + 25.
#include "DeskFixture.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSqlRecord>

namespace {

constexpr int kLines = 60; // the import's day

QString dayAfter(int n)
{
    return QDate(2026, 11, 1).addDays(n).toString(QStringLiteral("yyyyMMdd"));
}

// Spread over 1 .. total, both ends included.
QList<int> killPoints(int total, int count)
{
    QList<int> points;
    for (int i = 0; i < count; ++i)
        points << (count == 1 ? total : 1 + int(qint64(total - 1) * i / (count - 1)));
    return points;
}

} // namespace

class CrashTest : public DeskFixture {
protected:
    void SetUp() override
    {
        DeskFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_file = writeOrderFile(QStringLiteral("20261201"), kLines, 5);
    }

    ProgramRun import(const QString &day, const QString &killAt = QString())
    {
        QMap<QString, QString> env;
        if (!killAt.isEmpty())
            env.insert(QStringLiteral("OSTERA_KILL_AT_STATEMENT"), killAt);
        return ostera({QStringLiteral("import"), m_file, QStringLiteral("--date"), day}, env);
    }

    ProgramRun convert(const QString &day, const QString &killAt = QString())
    {
        QMap<QString, QString> env;
        if (!killAt.isEmpty())
            env.insert(QStringLiteral("OSTERA_KILL_AT_STATEMENT"), killAt);
        return ostera({QStringLiteral("convert"), day, QStringLiteral("--yes")}, env);
    }

    static int statementsOf(const ProgramRun &counted)
    {
        static const QRegularExpression count(QStringLiteral("statements: (\\d+)"));
        return count.match(counted.err).captured(1).toInt();
    }

    // What the import and its check made of the day, without what differs from day to day:
    // the date, the control numbers, and what counts over the lots of every day so far (lot
    // total and average, and the spare count that follows from them).
    QStringList dayLines(const QString &day)
    {
        QStringList lines;
        db().forEach(QStringLiteral("SELECT IMP_LN, FLG1, FLG3, SU, YARE_SU, COL, S_END, BR_CD, "
                                    "BR_NM, FC_NM, GENSAN1, SIZE_KEY, HINBAN_KBN, SEIZOUMOTO, "
                                    "QUL_KEY, SET_DATE FROM TBL_ORDER "
                                    "WHERE IMP_DATE = :d ORDER BY IMP_LN"),
                     {{QStringLiteral("d"), day}}, [&](const QSqlQuery &q) {
                         QStringList values;
                         for (int i = 0; i < 16; ++i)
                             values << q.value(i).toString();
                         lines << values.join(QLatin1Char('|'));
                     });
        db().forEach(
            QStringLiteral("SELECT IMP_LN, ERR_LN, ERR1, ERR2, ERR3 FROM TBL_ERR WHERE "
                           "IMP_DATE = :d ORDER BY IMP_LN, ERR_LN"),
            {{QStringLiteral("d"), day}}, [&](const QSqlQuery &q) {
                QStringList values;
                for (int i = 0; i < 5; ++i)
                    values << q.value(i).toString();
                // A finding names its line by control number, which is the day's.
                static const QRegularExpression number(QStringLiteral("\\b\\w\\w-\\d{3}\\b"));
                lines
                    << QStringLiteral("finding ") +
                           values.join(QLatin1Char('|')).replace(number, QStringLiteral("管理No"));
            });
        return lines;
    }

    // "" when the day holds what the reference day holds, else the first difference.
    static QString difference(const QStringList &day, const QStringList &reference)
    {
        for (int i = 0; i < qMax(day.size(), reference.size()); ++i)
            if (day.value(i) != reference.value(i))
                return QStringLiteral("「%1」 where a day imported without a crash has 「%2」")
                    .arg(day.value(i), reference.value(i));
        return {};
    }

    int counterTotal()
    {
        return db()
            .scalar(QStringLiteral("SELECT COALESCE(SUM(KNR_NO), 0) FROM SYS_KNR_NO"))
            .toInt();
    }

    bool registered(const QString &day)
    {
        return count(QStringLiteral("SYS_IMPDATE"), QStringLiteral("IMP_DATE = '%1'").arg(day)) ==
               1;
    }

    int linesOf(const QString &day, const QString &where = QStringLiteral("1 = 1"))
    {
        return count(QStringLiteral("TBL_ORDER"),
                     QStringLiteral("IMP_DATE = '%1' AND %2").arg(day, where));
    }

    QStringList wholeDeskFaults()
    {
        QStringList faults = numberingFaults(db());
        faults << importFaults(db(), {}) << stampFaults(db()) << outputFileFaults();
        return faults;
    }

    QString m_file;
};
INSTANTIATE_ENGINES(CrashTest);

TEST_P(CrashTest, ImportKilledAnywhereLeavesAllOrNothingAndRunsAgain)
{
    // The day every other is compared with, imported once without a crash; it also tells how
    // many statements an import runs.
    const QString reference = dayAfter(0);
    const ProgramRun counted = import(reference, QStringLiteral("count"));
    ASSERT_EQ(counted.status, 0) << counted.err.toStdString();
    const int statements = statementsOf(counted);
    ASSERT_GT(statements, 5) << counted.err.toStdString();
    const QStringList expected = dayLines(reference);

    int killedBeforeCommit = 0;
    int killedInCheck = 0;
    int ranToEnd = 0;
    QStringList faults;
    const QList<int> points = killPoints(statements, scaled(5, 25));
    for (int i = 0; i < points.size(); ++i) {
        const QString day = dayAfter(i + 1);
        const int countersBefore = counterTotal();
        const ProgramRun killed = import(day, QString::number(points[i]));
        const QString at =
            QStringLiteral("import killed at %1/%2: ").arg(points[i]).arg(statements);
        if (!killed.killed) {
            ++ranToEnd;
            if (killed.status != 0)
                faults << at + QStringLiteral("not killed and failed: ") + killed.err;
        } else if (!registered(day)) {
            ++killedBeforeCommit;
            if (linesOf(day) != 0 || counterTotal() != countersBefore)
                faults << at + QStringLiteral("%1 lines and counters +%2 of an unregistered day")
                                   .arg(linesOf(day))
                                   .arg(counterTotal() - countersBefore);
            const ProgramRun again = import(day);
            if (again.status != 0)
                faults << at + QStringLiteral("the import again failed: ") + again.err;
        } else {
            ++killedInCheck;
            if (linesOf(day) != kLines)
                faults << at + QStringLiteral("registered with %1 lines").arg(linesOf(day));
            const ProgramRun check = ostera({QStringLiteral("check"), day});
            if (check.status != 0)
                faults << at + QStringLiteral("check failed: ") + check.err;
            const ProgramRun refused = import(day);
            if (refused.status != 1 ||
                !refused.err.contains(QStringLiteral("既に読み込まれています")))
                faults << at + QStringLiteral("a registered day imported again: ") + refused.err;
        }
        const QString differs = difference(dayLines(day), expected);
        if (!differs.isEmpty())
            faults << at + differs;
        faults << wholeDeskFaults();
    }
    EXPECT_EQ(faults, QStringList());
    EXPECT_GT(killedBeforeCommit, 0);
    printFigures(QStringLiteral("crashes (import)"),
                 {QStringLiteral("engine=%1").arg(isPostgreSQL() ? "PostgreSQL" : "SQLite"),
                  QStringLiteral("statements=%1").arg(statements),
                  QStringLiteral("points=%1").arg(points.size()),
                  QStringLiteral("killed_before_commit=%1").arg(killedBeforeCommit),
                  QStringLiteral("killed_in_check=%1").arg(killedInCheck),
                  QStringLiteral("ran_to_end=%1").arg(ranToEnd),
                  QStringLiteral("faults=%1").arg(faults.size())});
}

// The conversion is killed before chosen statements and, since its files are written between
// two statements, also after chosen times (while it writes its files).
TEST_P(CrashTest, ConversionKilledAnywhereLeavesNoHalfRunAndRunsAgain)
{
    m_file = writeOrderFile(QStringLiteral("20261201"), 600, 9);
    const auto prepareDay = [&](const QString &day) {
        const ProgramRun imported = import(day);
        const ProgramRun printer = ostera(
            {QStringLiteral("update"), day, QStringLiteral("--printer"), QStringLiteral("TT-200")});
        return imported.status == 0 && printer.status == 0;
    };
    const QString reference = dayAfter(0);
    ASSERT_TRUE(prepareDay(reference));
    QElapsedTimer timer;
    timer.start();
    const ProgramRun counted = convert(reference, QStringLiteral("count"));
    const qint64 runMs = timer.elapsed();
    ASSERT_EQ(counted.status, 0) << counted.err.toStdString();
    const int statements = statementsOf(counted);
    const int convertible = linesOf(reference, QStringLiteral("FLG3 = '1'"));
    ASSERT_GT(convertible, 0);

    struct Figures {
        int killedMidRun = 0;
        int killedAfterStamp = 0;
        int ranToEnd = 0;
        int marksLeft = 0;
        int temporariesLeft = 0;
    } figures;
    QStringList faults;
    const auto crashAndRunAgain = [&](const QString &day, const QString &at, int statement,
                                      int afterMs) {
        if (!prepareDay(day)) {
            faults << at + QStringLiteral("the day could not be prepared");
            return;
        }
        const ProgramRun killed =
            statement > 0 ? convert(day, QString::number(statement))
                          : ostera({QStringLiteral("convert"), day, QStringLiteral("--yes")}, {},
                                   180000, afterMs);
        const int converted = linesOf(day, QStringLiteral("FLG3 = '1'"));
        int temporaries = 0;
        faults << outputFileFaults(&temporaries);
        figures.temporariesLeft = temporaries;
        if (!killed.killed) {
            ++figures.ranToEnd;
            if (killed.status != 0)
                faults << at + QStringLiteral("not killed and failed: ") + killed.err;
        } else if (converted == 0) {
            ++figures.killedMidRun;
            figures.marksLeft += linesOf(day, QStringLiteral("FLG2 <> '0'"));
        } else {
            ++figures.killedAfterStamp;
        }
        if (converted != 0 && converted != convertible)
            faults
                << at + QStringLiteral("%1 of %2 lines converted").arg(converted).arg(convertible);
        if (converted != 0 &&
            converted !=
                db().scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER WHERE IMP_DATE = :d "
                                           "AND B1 = (SELECT MAX(B1) FROM TBL_ORDER WHERE "
                                           "IMP_DATE = :d)"),
                            {{QStringLiteral("d"), day}})
                    .toInt())
            faults << at + QStringLiteral("converted lines carry several stamps");

        // The same command again: it converts what the killed run did not.
        const ProgramRun again = convert(day);
        if (converted == 0 && again.status != 0)
            faults << at + QStringLiteral("the conversion again failed: ") + again.err;
        if (converted != 0 &&
            !(again.status == 1 && again.err.contains(QStringLiteral("レコードがありません。"))))
            faults << at + QStringLiteral("converted twice: ") + again.err + again.out;
        if (linesOf(day, QStringLiteral("FLG3 = '1'")) != convertible)
            faults << at + QStringLiteral("%1 of %2 lines converted after the second run")
                               .arg(linesOf(day, QStringLiteral("FLG3 = '1'")))
                               .arg(convertible);
        faults << markFaults(db()) << wholeDeskFaults();
        collectOutputFiles();
    };

    const QList<int> points = killPoints(statements, scaled(5, 25));
    for (int i = 0; i < points.size(); ++i)
        crashAndRunAgain(
            dayAfter(i + 1),
            QStringLiteral("convert killed at statement %1/%2: ").arg(points[i]).arg(statements),
            points[i], 0);
    const int timed = scaled(3, 10);
    for (int i = 0; i < timed; ++i) {
        const int afterMs = int(runMs * (i + 1) / (timed + 1));
        crashAndRunAgain(
            dayAfter(points.size() + i + 1),
            QStringLiteral("convert killed after %1 of %2 ms: ").arg(afterMs).arg(runMs), 0,
            afterMs);
    }
    EXPECT_EQ(faults, QStringList());
    EXPECT_GT(figures.killedMidRun, 0);
    printFigures(QStringLiteral("crashes (convert)"),
                 {QStringLiteral("engine=%1").arg(isPostgreSQL() ? "PostgreSQL" : "SQLite"),
                  QStringLiteral("statements=%1").arg(statements),
                  QStringLiteral("points=%1").arg(points.size() + timed),
                  QStringLiteral("killed_mid_run=%1").arg(figures.killedMidRun),
                  QStringLiteral("killed_after_stamp=%1").arg(figures.killedAfterStamp),
                  QStringLiteral("ran_to_end=%1").arg(figures.ranToEnd),
                  QStringLiteral("marks_left_until_next_run=%1").arg(figures.marksLeft),
                  QStringLiteral("hidden_temporaries_left=%1").arg(figures.temporariesLeft),
                  QStringLiteral("faults=%1").arg(faults.size())});
}
