// The lists of a conversion run printed to PDF files: the order list, the name-production list
// and the total list of a run of 10 000 and of 100 000 lines of the demo order file, and the
// quality cards of the whole quality master, each in a child process of this program so that
// its time and peak memory are its own.
//
//   bench_print                     SQLite, then PostgreSQL when OSTERA_TEST_PG is set
//   bench_print --lines N           one size only
#include "BenchOrderDay.h"
#include "BenchSupport.h"
#include "ConsoleDialogs.h"
#include "Db.h"
#include "DemoData.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "PrintJob.h"
#include "Progress.h"
#include "QualityCardReport.h"
#include "QualityCardSelection.h"
#include "ReportEngine.h"
#include "ReportLists.h"
#include "Schema.h"
#include "WorkTables.h"
#include "globals.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

const QString kQulMst = QStringLiteral("QulMst");

// The work table of a run over the whole day, as the conversion leaves it.
void convertDay(Db &db)
{
    db.exec(QStringLiteral("UPDATE TBL_ORDER SET FLG2 = '1' WHERE IMP_DATE = :d"),
            {{QStringLiteral("d"), kBenchDay}});
    wc_rpt(db);
    db.exec(QStringLiteral("UPDATE TBL_ORDER SET FLG2 = '0' WHERE FLG2 = '1'"));
}

int childMain(const QStringList &a)
{
    const ConnectionSettings s = connectionFromArgs(a, 2);
    const QString kind = a[9];
    gInstallDir = a[10];
    Desktop::setOpener([](const QString &) {});
    Db db(s);
    db.open();
    ConsoleDialogs dialogs(/*answerYes*/ true);
    NullProgress progress;
    ReportEngine engine;
    const PrintRequest request{db, dialogs, progress, PrintJobs::pdfPrinterName()};
    const Outcome outcome =
        kind == kQulMst
            ? QualityCardReport::print(engine, request,
                                       QualityCardSelection::selectByDate(db, dialogs, QString()))
            : ReportLists::print(kind, engine, request);
    if (outcome != Outcome::Done)
        return 1;
    say(QStringLiteral("    %1 pages, %2 kB of PDF")
            .arg(engine.pageCount())
            .arg(QFileInfo(engine.pdfPath()).size() / 1024));
    QFile::remove(engine.pdfPath());
    sayPeakMemory();
    return 0;
}

void benchEngine(const QString &program, BenchEngine e, int lineCount, QTemporaryDir &dir)
{
    e.settings.baseDir = dir.path();
    Db db(e.settings);
    db.open(/*createIfMissing*/ true);
    QString message;
    if (Schema::create(db, &message) != Outcome::Done)
        die(message);
    DemoData::loadMasters(db);
    loadBenchDay(db, lineCount);
    convertDay(db);
    const int rows = db.scalar(QStringLiteral("SELECT COUNT(*) FROM WRK_RPT")).toInt();
    const int cards = db.scalar(QStringLiteral("SELECT COUNT(*) FROM MST_QUL")).toInt();
    db.close();

    say(QStringLiteral("== %1, %2 lines").arg(e.name).arg(rows));
    const double limit = lineCount <= 10000 ? 5 : 40;
    const QStringList kinds = ReportLists::kinds() << kQulMst;
    for (const QString &kind : kinds) {
        const ChildResult run =
            runMeasuredChild(program,
                             QStringList{QStringLiteral("--child")} << connectionArgs(e.settings)
                                                                    << kind << dir.path(),
                             QStringLiteral("printing ") + kind + QStringLiteral(" failed"));
        const QString what = kind == kQulMst ? QStringLiteral("%1 (%2 cards)").arg(kind).arg(cards)
                                             : QStringLiteral("%1 (%2 lines)").arg(kind).arg(rows);
        say(QStringLiteral("  %1: %2 s (target < %3), peak memory %4 MB (target < 200)")
                .arg(what)
                .arg(run.seconds, 0, 'f', 2)
                .arg(limit)
                .arg(run.peakKb / 1024.0, 0, 'f', 1));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 11 && args[1] == QLatin1String("--child"))
        return childMain(args);
    const int only = intOption(args, QStringLiteral("--lines"), 0);
    const QList<int> sizes = only > 0 ? QList<int>{only} : QList<int>{10000, 100000};

    for (const int size : sizes) {
        forEachEngine(args, QStringLiteral("bench_print_%1").arg(size), [&](const BenchEngine &e) {
            QTemporaryDir dir;
            benchEngine(app.applicationFilePath(), e, size, dir);
        });
    }
    return 0;
}
