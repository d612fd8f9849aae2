// The order edit screen (OrderEditScreen) on one day of 100 000 lines in a TBL_ORDER of 1 000 000
// (ten days), on SQLite and on PostgreSQL: the time until it shows its first rows, its memory
// (RSS) after going to the last row, and the time of one cell edit written (the cell typed,
// the line left, the UPDATE with its optimistic check done). The screen runs in a child
// process so that its memory is its own. Targets: first rows within 1 s, memory under
// 200 MB, an edit written within 0.1 s.
//
//   bench_order_edit                 SQLite, then PostgreSQL when OSTERA_TEST_PG is set
//   bench_order_edit --lines N       lines per day (ten days)
#include "BenchSupport.h"
#include "Db.h"
#include "GridView.h"
#include "OrderEditModel.h"
#include "OrderEditScreen.h"
#include "OrderFindCondition.h"
#include "Schema.h"
#include "Session.h"
#include "globals.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr int kDays = 10;
const QString kEditDay = QStringLiteral("20261208");

QString ms(qint64 nsecs)
{
    return QString::number(nsecs / 1e6, 'f', 1) + QStringLiteral(" ms");
}

// --- the parent: ten days of lines ---------------------------------------------------------

void loadDays(Db &db, int linesPerDay)
{
    const QStringList columns = {
        QStringLiteral("IMP_DATE"), QStringLiteral("IMP_LN"),   QStringLiteral("KNR_NO"),
        QStringLiteral("LOT_NO"),   QStringLiteral("FC_RG"),    QStringLiteral("FC_CD"),
        QStringLiteral("FC_NM"),    QStringLiteral("ORD_DATE"), QStringLiteral("SET_DATE"),
        QStringLiteral("HINBAN"),   QStringLiteral("COL"),      QStringLiteral("ROW"),
        QStringLiteral("SU"),       QStringLiteral("LOT_SU"),   QStringLiteral("QUL_KEY"),
        QStringLiteral("SIZE_KEY"), QStringLiteral("CAR_CD"),   QStringLiteral("FLG1"),
        QStringLiteral("PRINTER")};
    Transaction tx(db);
    BulkInserter bulk(db, QStringLiteral("TBL_ORDER"), columns);
    for (int day = 1; day <= kDays; ++day) {
        const QString date = QStringLiteral("202612%1").arg(day, 2, 10, QLatin1Char('0'));
        for (int i = 1; i <= linesPerDay; ++i) {
            const int lot = (i - 1) / 8;
            bulk.add({date, i, QStringLiteral("TK-%1").arg(lot % 1000, 3, 10, QLatin1Char('0')),
                      QStringLiteral("L%1").arg(lot, 7, 10, QLatin1Char('0')), QStringLiteral("TK"),
                      QStringLiteral("100234"), QStringLiteral("東京第一縫製工場"),
                      QStringLiteral("2026/12/01"), QStringLiteral("2026/12/15"),
                      QStringLiteral("H%1").arg(lot % 5000, 5, 10, QLatin1Char('0')),
                      QStringLiteral("%1").arg(i % 40, 2, 10, QLatin1Char('0')),
                      QStringLiteral("%1").arg(i % 12, 2, 10, QLatin1Char('0')), 10 + i % 90, 8,
                      QStringLiteral("Q%1").arg(lot % 700, 7, 10, QLatin1Char('0')),
                      QStringLiteral("S%1").arg(i % 300, 5, 10, QLatin1Char('0')),
                      QStringLiteral("A"), i % 50 == 0 ? QStringLiteral("1") : QStringLiteral("0"),
                      QStringLiteral("TTP-244")});
        }
    }
    bulk.finish();
    tx.commit();
    if (db.isPostgreSQL())
        db.exec(QStringLiteral("ANALYZE TBL_ORDER"));
}

bool runChild(const QString &program, const ConnectionSettings &s)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(program, QStringList{QStringLiteral("--child")} << connectionArgs(s));
    if (!child.waitForFinished(30 * 60 * 1000))
        return false;
    return child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
}

void benchEngine(const QString &program, const ConnectionSettings &settings, int linesPerDay)
{
    say(QStringLiteral("--- %1, %2 order lines (%3 days of %4)")
            .arg(settings.provider)
            .arg(qint64(linesPerDay) * kDays)
            .arg(kDays)
            .arg(linesPerDay));
    {
        Db db(settings);
        db.open(true);
        QString message;
        if (Schema::create(db, &message) != Outcome::Done)
            die(QStringLiteral("cannot create the tables: ") + message);
        QElapsedTimer load;
        load.start();
        loadDays(db, linesPerDay);
        say(QStringLiteral("loaded in %1 s").arg(load.elapsed() / 1000.0, 0, 'f', 1));
    }
    if (!runChild(program, settings))
        say(QStringLiteral("the edit screen run failed"));
}

// --- the child: the edit screen -------------------------------------------------------------

// Types a value into 品番 of a row and leaves the line; returns the nanoseconds until the
// line is in the database.
qint64 timeOneEdit(Db &db, OrderEditScreen *screen, int row, const QString &value)
{
    OrderEditModel *model = screen->editModel();
    const int hinban = model->columnOfField(QStringLiteral("HINBAN"));
    const QVariant ln = model->fieldValue(row, QStringLiteral("IMP_LN"));
    QElapsedTimer t;
    t.start();
    if (!model->setData(model->index(row, hinban), value))
        die(QStringLiteral("the edit was refused"));
    if (!model->writePendingRow())
        die(QStringLiteral("the edit was not written"));
    const qint64 elapsed = t.nsecsElapsed();
    const QString stored =
        db.scalar(QStringLiteral("SELECT HINBAN FROM TBL_ORDER WHERE IMP_DATE = :d AND "
                                 "IMP_LN = :ln"),
                  {{QStringLiteral("d"), kEditDay}, {QStringLiteral("ln"), ln}})
            .toString();
    if (stored != value)
        die(QStringLiteral("the edit is not in the database"));
    return elapsed;
}

int editChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setFont(QFont(QStringLiteral("Noto Sans CJK JP")));
    const QStringList a = app.arguments();
    gProvider = a[2];
    gServerName = a[3];
    gDbName = a[4];
    gDbUser = a[5];
    gDbPassword = a[6];
    gDbSchema = a[7];
    gInstallDir = a[8];
    gTimeout = 20;
    Session session;
    if (session.open() != Outcome::Done)
        die(QStringLiteral("cannot connect"));
    session.setImportDate(kEditDay);
    session.setOrderCondition(OrderFindCondition::start(session.importDate()));
    say(QStringLiteral("memory before the screen:              %1")
            .arg(mb(procStatusKb("VmRSS:"))));

    QElapsedTimer t;
    t.start();
    auto *screen = static_cast<OrderEditScreen *>(GridScreen::create<OrderEditScreen>(session));
    screen->show();
    QApplication::processEvents();
    screen->gridView->viewport()->repaint();
    const qint64 firstRows = t.elapsed();
    if (screen->model()->rowCount() == 0)
        die(QStringLiteral("the edit screen shows no rows"));
    say(QStringLiteral("edit screen, first rows shown:         %1 s (%2 lines, target 1 s)")
            .arg(firstRows / 1000.0, 0, 'f', 3)
            .arg(screen->gridView->toolTip()));

    QKeyEvent ctrlEnd(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(screen->gridView, &ctrlEnd);
    screen->gridView->viewport()->repaint();
    const int last = screen->model()->rowCount() - 1;
    if (screen->gridView->currentRowIndex() != last)
        die(QStringLiteral("the last row is not the current one"));
    say(QStringLiteral("memory after the last row (RSS):       %1 (target 200 MB)")
            .arg(mb(procStatusKb("VmRSS:"))));

    qint64 worst = 0;
    qint64 total = 0;
    const int edits = 20;
    for (int i = 0; i < edits; ++i) {
        const int row = i % 2 ? last - i : i * 997;
        const qint64 n = timeOneEdit(*session.db(), screen, row, QStringLiteral("EDIT-%1").arg(i));
        worst = qMax(worst, n);
        total += n;
    }
    say(QStringLiteral("cell edit written (set, line left):    %1 average, %2 worst of %3 "
                       "(target 100 ms)")
            .arg(ms(total / edits), ms(worst))
            .arg(edits));
    say(QStringLiteral("memory at the end (RSS):               %1")
            .arg(mb(procStatusKb("VmRSS:"))));
    screen->editModel()->discardPendingEdits(); // closing without the question
    screen->close();
    delete screen;
    session.shutdown();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0)
        return editChild(argc, argv);
    QCoreApplication app(argc, argv);
    const int linesPerDay = intOption(app.arguments(), QStringLiteral("--lines"), 100000);

    forEachEngine(app.arguments(), QStringLiteral("bench_order_edit"), [&](const BenchEngine &e) {
        QTemporaryDir dir;
        ConnectionSettings settings = e.settings;
        settings.baseDir = dir.path();
        benchEngine(app.applicationFilePath(), settings, linesPerDay);
    });
    return 0;
}
