// The whole import of one day's order file, timed next to a baseline measured in the same
// run: the engine's own command-line client bulk-loading the same rows (sqlite3 .import of an
// equivalent CSV, psql \copy) into the order table of the same database. The database already
// holds 1 000 000 lines of earlier days. The import runs in a child process of this program,
// so that its peak memory is its own; its progress line stays visible on stderr.
//
//   bench_import                 SQLite, then PostgreSQL when OSTERA_TEST_PG is set
//   bench_import --lines N       another size of the day (default 100 000)
//   bench_import --earlier N     another number of earlier lines (default 1 000 000)
//   bench_import --only sqlite|postgresql
//   bench_import --keep          leaves the PostgreSQL schema behind for a closer look
#include "BenchSupport.h"
#include "ConsoleDialogs.h"
#include "ConsoleProgress.h"
#include "Db.h"
#include "DemoData.h"
#include "DemoOrderFile.h"
#include "ImportRun.h"
#include "OrderFileReader.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace OrderFileLayout;

const QDate kToday(2026, 12, 8);
const QString kDay = QStringLiteral("20261208");
const QString kTypicalDay = QStringLiteral("20261209");
constexpr int kTypicalLines = 3000;

QByteArray orderFileOf(const QDate &date, int lines, quint32 seed)
{
    DemoOrderFile::Options options;
    options.date = date;
    options.lines = lines;
    options.seed = seed;
    return DemoOrderFile::generate(options);
}

QString slashDate(const QString &yymmdd)
{
    return QStringLiteral("20") + yymmdd.left(2) + QLatin1Char('/') + yymmdd.mid(2, 2) +
           QLatin1Char('/') + yymmdd.mid(4, 2);
}

// --- the order lines as the import leaves them -----------------------------------------

const QStringList kLineColumns = {
    "IMP_DATE",   "IMP_LN",   "KNR_NO",   "LOT_NO",  "FC_RG",      "FC_CD",       "FC_NM",
    "FC_RNM",     "ORD_DATE", "SET_DATE", "BR_CD",   "BR_NM",      "HINBAN_KBN",  "HINBAN",
    "COL",        "S_END",    "S_TBL",    "S_FLD",   "ROW",        "SCN",         "SU",
    "LOT_SU",     "LOT_AVG",  "SPARE_SU", "YARE_SU", "SEISAN_NEN", "SEISAN_TUKI", "GENSAN1",
    "SEIZOUMOTO", "QUL_KEY",  "SIZE_KEY", "CAR_CD"};

// One line with the values the build and the enrichment give it (masters' texts of a typical
// length), for the earlier days and for the baseline's CSV.
QVariantList lineOf(const QString &day, const OrderRecord &r)
{
    const QString sEnd = r.field("S_END");
    return {day,
            r.line,
            r.field("FC_RG") + QStringLiteral("-%1").arg(r.line % 1000, 3, 10, QLatin1Char('0')),
            r.field("LOT_NO"),
            r.field("FC_RG"),
            r.field("FC_CD"),
            QStringLiteral("大連新星服飾有限公司"),
            QStringLiteral("大連新星"),
            slashDate(r.field("ORD_DATE")),
            slashDate(r.field("SET_DATE")),
            QStringLiteral("OSBLUE"),
            QStringLiteral("オステラ ブルーレーベル"),
            r.field("HINBAN").left(2),
            r.field("HINBAN"),
            r.field("COL"),
            sEnd,
            r.field("S_TBL"),
            r.field("S_FLD"),
            r.field("ROW"),
            r.field("SCN"),
            r.quantity,
            r.quantity * 4,
            r.quantity,
            10,
            20,
            r.seisanNen,
            r.seisanTuki,
            QStringLiteral("中国製"),
            QStringLiteral("株式会社　オステラ"),
            QString(r.field("QUL_KEY")).remove(QLatin1Char(' ')),
            sEnd + r.field("S_TBL") + r.field("S_FLD") + r.field("ROW"),
            r.field("CAR_CD")};
}

template <typename Fn> void forEachRecord(const QByteArray &file, Fn fn)
{
    const OrderFileReader reader(file, kToday);
    OrderRecord record;
    for (int n = 1; n <= OrderFileReader::recordCount(file.size()); ++n) {
        if (!reader.read(n, record, nullptr))
            die(QStringLiteral("the demo file has a bad record"));
        fn(record);
    }
}

// Earlier days of 100 000 lines each (the shop's busiest), as the import left them.
void loadEarlierDays(Db &db, int lines)
{
    const int perDay = 100000;
    QStringList days;
    BulkInserter bulk(db, QStringLiteral("TBL_ORDER"), kLineColumns);
    for (int day = 0; day * perDay < lines; ++day) {
        const QDate date = kToday.addDays(-30 + day * 2);
        const QString impDate = date.toString(QStringLiteral("yyyyMMdd"));
        forEachRecord(orderFileOf(date, qMin(perDay, lines - day * perDay), 1000 + day),
                      [&](const OrderRecord &r) { bulk.add(lineOf(impDate, r)); });
        days << impDate;
    }
    bulk.finish();
    for (const QString &impDate : days)
        db.exec(QStringLiteral("INSERT INTO SYS_IMPDATE(IMP_DATE, KAKUTEI_FLG) VALUES(:d, '1')"),
                {{QStringLiteral("d"), impDate}});
}

// The columns of a table in their order.
QStringList columnsOf(Db &db, const QString &table)
{
    const QSqlRecord record =
        db.select(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE 1 = 0"))
            .record();
    QStringList columns;
    for (int i = 0; i < record.count(); ++i)
        columns << record.fieldName(i).toUpper();
    return columns;
}

// Every column of the table in its order, as the client's loader takes a whole row.
QVariantList wholeRow(const QStringList &tableColumns, const QStringList &columns,
                      const QVariantList &values)
{
    QVariantList row;
    for (const QString &c : tableColumns) {
        const int at = int(columns.indexOf(c));
        if (at >= 0)
            row << values.at(at);
        else if (c.startsWith(QLatin1String("FLG")))
            row << QStringLiteral("0");
        else if (c == QLatin1String("LOT_SU") || c == QLatin1String("SU"))
            row << 0;
        else
            row << QString();
    }
    return row;
}

QString csvField(const QVariant &value)
{
    QString text = value.toString();
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

void writeCsv(const QString &path, const QByteArray &file, bool asLines,
              const QStringList &tableColumns)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        die(QStringLiteral("cannot write ") + path);
    forEachRecord(file, [&](const OrderRecord &r) {
        QVariantList values;
        QStringList columns;
        if (asLines) {
            values = lineOf(kDay, r);
            columns = kLineColumns;
        } else { // the file's fields as the work table takes them
            values << kDay << r.line;
            columns << QStringLiteral("IMP_DATE") << QStringLiteral("IMP_LN");
            for (int i = 0; i < kFieldCount; ++i) {
                values << (i == kSu ? QVariant(r.quantity) : QVariant(r.fields[size_t(i)]));
                columns << QLatin1String(kFields[size_t(i)].column);
                if (i == kLotNo) {
                    values << r.seisanNen << r.seisanTuki;
                    columns << QStringLiteral("SEISAN_NEN") << QStringLiteral("SEISAN_TUKI");
                }
            }
        }
        QStringList fields;
        for (const QVariant &v : wholeRow(tableColumns, columns, values))
            fields << csvField(v);
        out.write((fields.join(QLatin1Char(',')) + QLatin1Char('\n')).toUtf8());
    });
}

// --- the engines' clients -------------------------------------------------------------

double bulkLoad(const BenchEngine &e, const QString &csv, const QString &table)
{
    const QString prelude = QStringLiteral("PRAGMA synchronous=NORMAL;\n");
    if (e.client == QLatin1String("sqlite3"))
        return runClient(e,
                         QStringLiteral(".import --csv ") + csv + QLatin1Char(' ') + table +
                             QLatin1Char('\n'),
                         prelude);
    return runClient(e, QStringLiteral("\\copy ") + table + QStringLiteral(" FROM '") + csv +
                            QStringLiteral("' CSV\n"));
}

// --- the import, in a child process ------------------------------------------------------

// The batch command's progress line, remembering when each phase began.
class TimedProgress : public ConsoleProgress {
public:
    TimedProgress() { m_clock.start(); }
    void start(const QString &title, int total) override
    {
        m_marks << std::make_pair(title, m_clock.elapsed());
        m_title = title;
        m_total = total;
        m_steps.clear();
        m_last = m_clock.elapsed();
        ConsoleProgress::start(title, total);
    }
    void step(int now) override
    {
        // The enrichment steps one statement at a time: their times show where it goes.
        if (m_title == QStringLiteral("マスタ参照...")) {
            m_steps << QStringLiteral("%1:%2").arg(now).arg((m_clock.elapsed() - m_last) / 1000.0,
                                                            0, 'f', 2);
            m_last = m_clock.elapsed();
            if (now == m_total)
                m_enrichment = m_steps.join(QLatin1Char(' '));
        }
        ConsoleProgress::step(now);
    }
    QString enrichment() const { return m_enrichment; }
    QString breakdown() const
    {
        QStringList parts;
        for (int i = 0; i < m_marks.size(); ++i) {
            const qint64 end = i + 1 < m_marks.size() ? m_marks[i + 1].second : m_clock.elapsed();
            parts << QStringLiteral("%1 %2")
                         .arg(m_marks[i].first)
                         .arg((end - m_marks[i].second) / 1000.0, 0, 'f', 2);
        }
        return parts.join(QStringLiteral(", "));
    }

private:
    QElapsedTimer m_clock;
    QList<std::pair<QString, qint64>> m_marks;
    QString m_title;
    int m_total = 0;
    QStringList m_steps;
    QString m_enrichment;
    qint64 m_last = 0;
};

int childMain(const QStringList &a)
{
    Db db(connectionFromArgs(a, 2));
    db.open();
    ConsoleDialogs dialogs(/*answerYes*/ true);
    TimedProgress progress;
    const ImportRequest request{a[9], a[10], QStringLiteral("2026"), QStringLiteral("12"), kToday};
    if (ImportRun(db, dialogs, progress).run(request) != Outcome::Done || dialogs.errorCount() > 0)
        return 1;
    say(QStringLiteral("  seconds per phase: ") + progress.breakdown());
    say(QStringLiteral("  seconds per enrichment statement: ") + progress.enrichment());
    sayPeakMemory();
    return 0;
}

ChildResult runImport(const QString &program, const BenchEngine &e, const QString &file,
                      const QString &impDate)
{
    return runMeasuredChild(program,
                            QStringList{QStringLiteral("--child")} << connectionArgs(e.settings)
                                                                   << file << impDate,
                            QStringLiteral("the import failed"));
}

// --- one engine ---------------------------------------------------------------------------

void removeDay(Db &db, const BenchEngine &e, const QString &day)
{
    db.exec(QStringLiteral("DELETE FROM TBL_ORDER WHERE IMP_DATE = :d"),
            {{QStringLiteral("d"), day}});
    db.exec(QStringLiteral("DELETE FROM WRK_ORDER"));
    if (e.client == QLatin1String("psql"))
        db.exec(QStringLiteral("VACUUM ANALYZE"));
}

void benchEngine(const QString &program, BenchEngine e, int lines, int earlier)
{
    QTemporaryDir dir;
    e.settings.baseDir = dir.path();
    Db db(e.settings);
    db.open(/*createIfMissing*/ true);
    QString message;
    if (Schema::create(db, &message) != Outcome::Done)
        die(message);
    DemoData::loadMasters(db);
    db.exec(QStringLiteral("INSERT INTO SYS_TUKI(NEN, TUKI, KAKUTEI_FLG) VALUES('2026','12','0')"));
    say(QStringLiteral("== %1: %2 records into %3 lines of earlier days")
            .arg(e.name)
            .arg(lines)
            .arg(earlier));
    QElapsedTimer setup;
    setup.start();
    loadEarlierDays(db, earlier);
    if (e.client == QLatin1String("psql"))
        db.exec(QStringLiteral("VACUUM ANALYZE"));
    say(QStringLiteral("  (earlier days loaded in %1 s)").arg(setup.elapsed() / 1000.0, 0, 'f', 1));

    const QByteArray file = orderFileOf(kToday, lines, 42);
    const QString orderPath = dir.filePath(QStringLiteral("order.txt"));
    QFile out(orderPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
        die(QStringLiteral("cannot write the order file"));
    out.close();

    const QString linesCsv = dir.filePath(QStringLiteral("lines.csv"));
    const QString recordsCsv = dir.filePath(QStringLiteral("records.csv"));
    writeCsv(linesCsv, file, /*asLines*/ true, columnsOf(db, QStringLiteral("TBL_ORDER")));
    writeCsv(recordsCsv, file, /*asLines*/ false, columnsOf(db, QStringLiteral("WRK_ORDER")));

    const double baseline = bulkLoad(e, linesCsv, QStringLiteral("TBL_ORDER"));
    removeDay(db, e, kDay);
    const double workLoad = bulkLoad(e, recordsCsv, QStringLiteral("WRK_ORDER"));
    removeDay(db, e, kDay);
    db.close();

    const ChildResult run = runImport(program, e, orderPath, kDay);

    const QString typicalPath = dir.filePath(QStringLiteral("typical.txt"));
    QFile typical(typicalPath);
    const QByteArray typicalFile = orderFileOf(kToday.addDays(1), kTypicalLines, 7);
    if (!typical.open(QIODevice::WriteOnly) || typical.write(typicalFile) != typicalFile.size())
        die(QStringLiteral("cannot write the typical day's file"));
    typical.close();
    const ChildResult day = runImport(program, e, typicalPath, kTypicalDay);

    const QString loader = e.client == QLatin1String("sqlite3") ? QStringLiteral("sqlite3 .import")
                                                                : QStringLiteral("psql \\copy");
    const double target = e.client == QLatin1String("sqlite3") ? 4 : 5;
    say(QStringLiteral("  baseline: %1 of the %2 lines (CSV) into TBL_ORDER: %3 s")
            .arg(loader)
            .arg(lines)
            .arg(baseline, 0, 'f', 2));
    say(QStringLiteral("  full import (read, number, build, register, enrich, check): %1 s = "
                       "%2 x baseline (target %3)")
            .arg(run.seconds, 0, 'f', 2)
            .arg(run.seconds / baseline, 0, 'f', 2)
            .arg(target));
    say(QStringLiteral("  for comparison: %1 of the file's records into the empty work table: "
                       "%2 s; import = %3 x that")
            .arg(loader)
            .arg(workLoad, 0, 'f', 2)
            .arg(run.seconds / workLoad, 0, 'f', 2));
    say(QStringLiteral("  peak memory of the import: %1 MB (target < 200)")
            .arg(run.peakKb / 1024.0, 0, 'f', 1));
    say(QStringLiteral("  typical day (%1 records): %2 s, peak %3 MB")
            .arg(kTypicalLines)
            .arg(day.seconds, 0, 'f', 2)
            .arg(day.peakKb / 1024.0, 0, 'f', 1));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 11 && args[1] == QLatin1String("--child"))
        return childMain(args);
    const int lines = intOption(args, QStringLiteral("--lines"), 100000);
    const int earlier = intOption(args, QStringLiteral("--earlier"), 1000000);

    forEachEngine(args, QStringLiteral("bench_import"), [&](const BenchEngine &e) {
        benchEngine(app.applicationFilePath(), e, lines, earlier);
    });
    return 0;
}
