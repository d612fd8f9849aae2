// The migration of a shop's whole history, timed next to a baseline measured in the same run:
// the engine's own command-line client bulk-loading the same order lines (sqlite3 .import of
// an equivalent CSV, psql \copy) into the order table of an empty installation. The export
// folder holds 1 000 000 order lines over ten days and the demo masters, as bcp -c writes them
// (CP932, tabs, char columns padded, the masters with their format files). The migration runs
// in a child process of this program, so that its peak memory is its own; its progress line
// stays visible on stderr.
//
//   bench_migrate                 SQLite, then PostgreSQL when OSTERA_TEST_PG is set
//   bench_migrate --lines N       another number of order lines (default 1 000 000)
//   bench_migrate --only sqlite|postgresql
#include "BenchSupport.h"
#include "CarriedTables.h"
#include "ConsoleProgress.h"
#include "Cp932.h"
#include "CsvLine.h"
#include "Db.h"
#include "DemoData.h"
#include "DemoOrderFile.h"
#include "MasterFiles.h"
#include "MigrationRun.h"
#include "MigrationSource.h"
#include "OrderFileReader.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

const QDate kFirstDay(2026, 12, 1);
constexpr int kDays = 10;

// The char columns of the existing system's order table and their widths.
const QHash<QString, int> kCharWidths = {{"KNR_NO", 10}, {"LOT_NO", 12}, {"FC_RG", 4},
                                         {"FC_CD", 8},   {"CAR_CD", 6},  {"QUL_KEY", 12}};

QString slashDate(const QString &yymmdd)
{
    return QStringLiteral("20") + yymmdd.left(2) + QLatin1Char('/') + yymmdd.mid(2, 2) +
           QLatin1Char('/') + yymmdd.mid(4, 2);
}

// One order line as the desk keeps it, in the existing system's column order.
QStringList orderLine(const QString &day, const OrderRecord &r, const QString &knrNo)
{
    const QString sEnd = r.field("S_END");
    const QMap<QString, QString> values = {
        {"IMP_DATE", day},
        {"IMP_LN", QString::number(r.line)},
        {"KNR_NO", knrNo},
        {"LOT_NO", r.field("LOT_NO")},
        {"FC_RG", r.field("FC_RG")},
        {"FC_CD", r.field("FC_CD")},
        {"FC_NM", QStringLiteral("大連新星服飾有限公司")},
        {"FC_RNM", QStringLiteral("大連新星")},
        {"ORD_DATE", slashDate(r.field("ORD_DATE"))},
        {"SET_DATE", slashDate(r.field("SET_DATE"))},
        {"BR_CD", QStringLiteral("OSBLUE")},
        {"BR_NM", QStringLiteral("オステラ ブルーレーベル")},
        {"HINBAN_KBN", r.field("HINBAN").left(2)},
        {"HINBAN", r.field("HINBAN")},
        {"COL", r.field("COL")},
        {"S_END", sEnd},
        {"S_TBL", r.field("S_TBL")},
        {"S_FLD", r.field("S_FLD")},
        {"ROW", r.field("ROW")},
        {"SCN", r.field("SCN")},
        {"SU", QString::number(r.quantity)},
        {"LOT_SU", QString::number(r.quantity * 4)},
        {"LOT_AVG", QString::number(r.quantity)},
        {"SPARE_SU", QStringLiteral("10")},
        {"YARE_SU", QStringLiteral("20")},
        {"SEISAN_NEN", r.seisanNen},
        {"SEISAN_TUKI", r.seisanTuki},
        {"GENSAN1", QStringLiteral("中国製")},
        {"SEIZOUMOTO", QStringLiteral("株式会社　オステラ")},
        {"QUL_KEY", QString(r.field("QUL_KEY")).remove(QLatin1Char(' '))},
        {"SIZE_KEY", sEnd + r.field("S_TBL") + r.field("S_FLD") + r.field("ROW")},
        {"CAR_CD", r.field("CAR_CD")},
        {"DATA_FLG", QStringLiteral("1")},
        {"PRINTER", QStringLiteral("TT-300")},
        {"FLG3", QStringLiteral("1")},
        {"FLG4", QStringLiteral("1")},
        {"B1", day.left(4) + "/" + day.mid(4, 2) + "/" + day.mid(6, 2) + " 15:00:00"},
        {"B2", day.left(4) + "/" + day.mid(4, 2) + "/" + day.mid(6, 2) + " 17:30:00"},
    };
    QStringList row;
    for (const QString &column : CarriedTables::existingColumnOrder("TBL_ORDER")) {
        if (values.contains(column))
            row << values.value(column);
        else if (column.startsWith(QLatin1String("FLG")))
            row << QStringLiteral("0");
        else
            row << QString();
    }
    return row;
}

// bcp -c: CP932, tabs, CR LF, char columns padded, '' as one NUL.
QByteArray bcpLine(const QStringList &columns, const QStringList &values)
{
    QStringList fields;
    for (int i = 0; i < values.size(); ++i) {
        const QString &v = values.at(i);
        fields << (v.isEmpty() ? QString(QChar(u'\0'))
                               : v.leftJustified(kCharWidths.value(columns.at(i)), ' '));
    }
    const Cp932::Encoded encoded = Cp932::encode(fields.join('\t') + QStringLiteral("\r\n"));
    if (!encoded.ok())
        die(QStringLiteral("a value CP932 cannot hold: ") + encoded.badChar);
    return encoded.bytes;
}

QByteArray formatFile(const QStringList &columns)
{
    QByteArray text = "14.0\r\n" + QByteArray::number(columns.size()) + "\r\n";
    for (int i = 0; i < columns.size(); ++i)
        text += QStringLiteral("%1       SQLCHAR             0       100     \"%2\"   %1     %3    "
                               "Japanese_CI_AS\r\n")
                    .arg(i + 1)
                    .arg(i + 1 == columns.size() ? QStringLiteral("\\r\\n") : QStringLiteral("\\t"))
                    .arg(columns.at(i))
                    .toUtf8();
    return text;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        die(QStringLiteral("cannot write ") + path);
}

// The export folder and, beside it, the same order lines as a CSV for the engines' loaders.
void writeExport(const QString &folder, const QString &csvPath, int lines)
{
    QDir().mkpath(folder);
    {
        // The demo masters, every column, each with its format file.
        QTemporaryDir scratch;
        ConnectionSettings s;
        s.provider = QStringLiteral("SQLite");
        s.server = QStringLiteral("masters.db");
        s.baseDir = scratch.path();
        Db db(s);
        db.open(true);
        QString message;
        (void)Schema::create(db, &message); // a fresh scratch database: nothing to refuse
        DemoData::loadMasters(db);
        MasterFiles files(db);
        for (const QString &table : MasterFiles::tables()) {
            QStringList columns;
            for (const MasterFiles::Column &c : files.columns(table))
                columns << c.name;
            QByteArray bytes;
            db.forEach(QStringLiteral("SELECT ") + columns.join(',') + QStringLiteral(" FROM ") +
                           table,
                       {}, [&](const QSqlQuery &q) {
                           QStringList values;
                           for (int i = 0; i < columns.size(); ++i)
                               values << q.value(i).toString();
                           bytes += bcpLine(columns, values);
                       });
            writeFile(folder + "/" + table + ".bcp", bytes);
            writeFile(folder + "/" + table + ".fmt", formatFile(columns));
        }
    }
    const QStringList orderColumns = CarriedTables::existingColumnOrder("TBL_ORDER");
    QFile bcp(folder + "/TBL_ORDER.txt");
    QFile csv(csvPath);
    if (!bcp.open(QIODevice::WriteOnly) || !csv.open(QIODevice::WriteOnly))
        die(QStringLiteral("cannot write the order lines"));
    QHash<QString, int> counters; // per factory, numbered on through the month
    QByteArray impDates;
    const int perDay = (lines + kDays - 1) / kDays;
    for (int d = 0; d < kDays && d * perDay < lines; ++d) {
        const QDate date = kFirstDay.addDays(d);
        const QString day = date.toString(QStringLiteral("yyyyMMdd"));
        DemoOrderFile::Options options;
        options.date = date;
        options.lines = qMin(perDay, lines - d * perDay);
        options.seed = 100 + quint32(d);
        const QByteArray file = DemoOrderFile::generate(options);
        const OrderFileReader reader(file, date);
        OrderRecord r;
        QHash<QString, QString> groupNumbers;
        for (int n = 1; n <= OrderFileReader::recordCount(file.size()); ++n) {
            if (!reader.read(n, r, nullptr))
                die(QStringLiteral("the demo file has a bad record"));
            const QString group = r.field("FC_RG") + '|' + r.field("SET_DATE") + '|' +
                                  r.field("CAR_CD") + '|' + r.field("LOT_NO");
            QString &knrNo = groupNumbers[group];
            if (knrNo.isEmpty()) {
                const int number = ++counters[r.field("FC_RG")];
                knrNo =
                    r.field("FC_RG") + QStringLiteral("-%1").arg(number, 3, 10, QLatin1Char('0'));
            }
            const QStringList values = orderLine(day, r, knrNo);
            bcp.write(bcpLine(orderColumns, values));
            csv.write((CsvLine::quoted(values) + QLatin1Char('\n')).toUtf8());
        }
        impDates += Cp932::encode(day + (d + 1 < kDays ? "\t1\r\n" : "\t0\r\n")).bytes;
    }
    writeFile(folder + "/SYS_IMPDATE.txt", impDates);
    writeFile(folder + "/SYS_TUKI.txt", "2026\t11\t1\r\n2026\t12\t0\r\n");
    QByteArray knr;
    for (auto it = counters.cbegin(); it != counters.cend(); ++it)
        knr += QStringLiteral("2026\t12\t%1\t%2\r\n")
                   .arg(it.key().leftJustified(4, ' '))
                   .arg(it.value())
                   .toUtf8();
    writeFile(folder + "/SYS_KNR_NO.txt", knr);
}

// --- the migration, in a child process ---------------------------------------------------

int childMain(const QStringList &a)
{
    Db db(connectionFromArgs(a, 2));
    db.open();
    ConsoleProgress progress;
    QString problem;
    const auto source = MigrationSource::fromArgument(a[9], &problem);
    if (!source) {
        say(problem);
        return 1;
    }
    const MigrationReport report = MigrationRun(db, progress).run(*source, false);
    if (report.outcome != MigrationReport::Outcome::Migrated) {
        say(report.text());
        return 1;
    }
    for (const MigrationReport::Table &t : report.tables)
        if (t.name == QLatin1String("TBL_ORDER"))
            say(QStringLiteral("  migrated: %1 order lines (%2)").arg(t.loaded).arg(t.format));
    sayPeakMemory();
    return 0;
}

// --- one engine ---------------------------------------------------------------------------

void createInstallation(const BenchEngine &e)
{
    Db db(e.settings);
    db.open(/*createIfMissing*/ true);
    QString message;
    if (Schema::create(db, &message) != Outcome::Done)
        die(message);
}

void benchEngine(const QString &program, BenchEngine e, const QString &folder, const QString &csv,
                 int lines)
{
    QTemporaryDir dir;
    e.settings.baseDir = dir.path();
    say(QStringLiteral("== %1: %2 order lines and the demo masters").arg(e.name).arg(lines));

    // The engine's own loader, into the order table of an empty installation.
    BenchEngine baseline = e;
    if (e.client == QLatin1String("sqlite3")) {
        baseline.settings.server = QStringLiteral("baseline.db");
    } else {
        baseline.settings.schema += QStringLiteral("_base");
        createSchema(baseline.settings);
    }
    createInstallation(baseline);
    const double load =
        e.client == QLatin1String("sqlite3")
            ? runClient(baseline,
                        QStringLiteral(".import --csv ") + csv + QStringLiteral(" TBL_ORDER\n"),
                        QStringLiteral("PRAGMA synchronous=NORMAL;\n"))
            : runClient(baseline, QStringLiteral("\\copy TBL_ORDER FROM '") + csv +
                                      QStringLiteral("' CSV\n"));
    if (e.client == QLatin1String("psql"))
        dropSchema(baseline.settings);

    createInstallation(e);
    const ChildResult run = runMeasuredChild(
        program, QStringList{QStringLiteral("--child")} << connectionArgs(e.settings) << folder,
        QStringLiteral("the migration failed"));

    const QString loader = e.client == QLatin1String("sqlite3") ? QStringLiteral("sqlite3 .import")
                                                                : QStringLiteral("psql \\copy");
    say(QStringLiteral("  baseline: %1 of the %2 lines (CSV, UTF-8) into TBL_ORDER: %3 s")
            .arg(loader)
            .arg(lines)
            .arg(load, 0, 'f', 2));
    say(QStringLiteral("  migrate (read bcp, convert, check, load, counters): %1 s = %2 x baseline "
                       "(target 3)")
            .arg(run.seconds, 0, 'f', 2)
            .arg(run.seconds / load, 0, 'f', 2));
    say(QStringLiteral("  peak memory of the migration: %1 MB (target < 200)")
            .arg(run.peakKb / 1024.0, 0, 'f', 1));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 10 && args[1] == QLatin1String("--child"))
        return childMain(args);
    const int lines = intOption(args, QStringLiteral("--lines"), 1000000);

    QTemporaryDir data;
    const QString folder = data.filePath(QStringLiteral("export"));
    const QString csv = data.filePath(QStringLiteral("orders.csv"));
    QElapsedTimer made;
    made.start();
    writeExport(folder, csv, lines);
    say(QStringLiteral("(export folder of %1 lines written in %2 s: %3 MB of bcp)")
            .arg(lines)
            .arg(made.elapsed() / 1000.0, 0, 'f', 1)
            .arg(QFileInfo(folder + "/TBL_ORDER.txt").size() / 1048576.0, 0, 'f', 1));

    forEachEngine(args, QStringLiteral("bench_migrate"), [&](const BenchEngine &e) {
        benchEngine(app.applicationFilePath(), e, folder, csv, lines);
    });
    return 0;
}
