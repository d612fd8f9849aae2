// A grid screen over 1 000 000 order lines of one day, on SQLite and on PostgreSQL: the time
// until it shows its first rows and its memory (RSS) after scrolling to the last row and after
// scrolling through every row, next to the plain query in the same run (the same SELECT read
// to its end through the desk's database layer). The screen runs in a child process of this
// program so that its memory is its own. Targets: first rows within 1 s, memory under 200 MB.
//
//   bench_grid              SQLite, then PostgreSQL when OSTERA_TEST_PG is set
//   bench_grid --lines N    another size
#include "BenchSupport.h"
#include "Db.h"
#include "GridScreen.h"
#include "GridView.h"
#include "PagedQueryModel.h"
#include "Schema.h"
#include "Session.h"
#include "globals.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

namespace {

const QString kDay = QStringLiteral("20261208");
const QString kSql = QStringLiteral("Select * From TBL_ORDER Where IMP_DATE = '20261208' "
                                    "And FLG3 = '0' And FLG4 = '0'  ");

QString seconds(qint64 ms)
{
    return QString::number(ms / 1000.0, 'f', 3) + QStringLiteral(" s");
}

// The columns of the order edit screen: what a grid over the order lines shows.
class OrderLinesScreen : public GridScreen {
public:
    explicit OrderLinesScreen(Session &session) : GridScreen(session)
    {
        setFormSizeTwips(13500, 10000);
        setRecordCountInToolTip(true);
    }

protected:
    QList<GridColumn> gridColumns() const override
    {
        const char *const columns[][3] = {{"IMP_DATE", "IMP_DATE", "2000"},
                                          {"IMP_LN", "IMP_LN", "2000"},
                                          {"印字機種", "PRINTER", "2000"},
                                          {"熱転写", "DATA_FLG", "500"},
                                          {"ネーム種", "CAR_CD", "1000"},
                                          {"数量", "SU", "800"},
                                          {"ロット数", "LOT_SU", "800"},
                                          {"ロット平均数", "LOT_AVG", "800"},
                                          {"予備数", "SPARE_SU", "800"},
                                          {"ヤレ数", "YARE_SU", "800"},
                                          {"管理No", "KNR_NO", "1000"},
                                          {"ロットNo", "LOT_NO", "1000"},
                                          {"発注日", "ORD_DATE", "1200"},
                                          {"セット日", "SET_DATE", "1200"},
                                          {"工場略号", "FC_RG", "1000"},
                                          {"工場コード", "FC_CD", "1000"},
                                          {"工場名", "FC_NM", "2000"},
                                          {"略名", "FC_RNM", "1000"},
                                          {"品番", "HINBAN", "1000"},
                                          {"COL", "COL", "500"},
                                          {"END", "S_END", "500"},
                                          {"TBL", "S_TBL", "500"},
                                          {"FLD", "S_FLD", "500"},
                                          {"ROW", "ROW", "500"},
                                          {"SCN", "SCN", "500"},
                                          {"年", "SEISAN_NEN", "500"},
                                          {"月", "SEISAN_TUKI", "500"},
                                          {"原産国1", "GENSAN1", "1200"},
                                          {"原産国2", "GENSAN2", "1200"},
                                          {"製造元", "SEIZOUMOTO", "1000"},
                                          {"品質キー", "QUL_KEY", "1500"},
                                          {"サイズキー", "SIZE_KEY", "1500"},
                                          {"エラー", "FLG1", "500"},
                                          {"特定変換", "FLG5", "1200"}};
        QList<GridColumn> list;
        for (const auto &c : columns)
            list << GridColumn(QString::fromUtf8(c[0]), QString::fromUtf8(c[1]), atoi(c[2]));
        list[0].visible = list[1].visible = false;
        return list;
    }
    QString gridSql() override { return kSql; }
};

// --- the parent: data and the plain query -------------------------------------------------

void loadLines(Db &db, int lines)
{
    const QStringList columns = {
        QStringLiteral("IMP_DATE"), QStringLiteral("IMP_LN"),   QStringLiteral("KNR_NO"),
        QStringLiteral("LOT_NO"),   QStringLiteral("FC_RG"),    QStringLiteral("FC_CD"),
        QStringLiteral("FC_NM"),    QStringLiteral("ORD_DATE"), QStringLiteral("SET_DATE"),
        QStringLiteral("HINBAN"),   QStringLiteral("COL"),      QStringLiteral("S_END"),
        QStringLiteral("ROW"),      QStringLiteral("SU"),       QStringLiteral("LOT_SU"),
        QStringLiteral("QUL_KEY"),  QStringLiteral("SIZE_KEY"), QStringLiteral("CAR_CD"),
        QStringLiteral("GENSAN1"),  QStringLiteral("DATA_FLG"), QStringLiteral("PRINTER")};
    Transaction tx(db);
    BulkInserter bulk(db, QStringLiteral("TBL_ORDER"), columns);
    for (int i = 1; i <= lines; ++i) {
        const int lot = (i - 1) / 8;
        bulk.add({kDay,
                  i,
                  QStringLiteral("TK-%1").arg(lot % 1000, 3, 10, QLatin1Char('0')),
                  QStringLiteral("L%1").arg(lot, 7, 10, QLatin1Char('0')),
                  QStringLiteral("TK"),
                  QStringLiteral("100234"),
                  QStringLiteral("東京第一縫製工場"),
                  QStringLiteral("2026/12/01"),
                  QStringLiteral("2026/12/15"),
                  QStringLiteral("H%1").arg(lot % 5000, 5, 10, QLatin1Char('0')),
                  QStringLiteral("%1").arg(i % 40, 2, 10, QLatin1Char('0')),
                  QStringLiteral("05"),
                  QStringLiteral("%1").arg(i % 12, 2, 10, QLatin1Char('0')),
                  10 + i % 90,
                  8,
                  QStringLiteral("Q%1").arg(lot % 700, 7, 10, QLatin1Char('0')),
                  QStringLiteral("S%1").arg(i % 300, 5, 10, QLatin1Char('0')),
                  QStringLiteral("A"),
                  QStringLiteral("中国"),
                  QStringLiteral("1"),
                  QStringLiteral("TTP-244")});
    }
    bulk.finish();
    tx.commit();
    if (db.isPostgreSQL())
        db.exec(QStringLiteral("ANALYZE TBL_ORDER"));
}

qint64 timePlainQuery(Db &db, qint64 *rows)
{
    QElapsedTimer t;
    t.start();
    *rows = 0;
    db.forEach(kSql, {}, [rows](const QSqlQuery &q) {
        q.value(0);
        ++*rows;
    });
    return t.elapsed();
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

void benchEngine(const QString &program, const ConnectionSettings &settings, int lines)
{
    const QString name = settings.provider;
    say(QStringLiteral("--- %1, %2 order lines").arg(name).arg(lines));
    {
        Db db(settings);
        db.open(true);
        QString message;
        if (Schema::create(db, &message) != Outcome::Done)
            die(QStringLiteral("cannot create the tables: ") + message);
        QElapsedTimer load;
        load.start();
        loadLines(db, lines);
        say(QStringLiteral("loaded in %1").arg(seconds(load.elapsed())));
        qint64 rows = 0;
        timePlainQuery(db, &rows); // warm the cache for both measurements alike
        const qint64 plain = timePlainQuery(db, &rows);
        say(QStringLiteral("plain query, every row read:        %1 (%2 rows)")
                .arg(seconds(plain))
                .arg(rows));
    }
    if (!runChild(program, settings))
        say(QStringLiteral("the grid run failed"));
}

// --- the child: the grid screen -----------------------------------------------------------

int gridChild(int argc, char **argv)
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
    say(QStringLiteral("memory before the screen:           %1").arg(mb(procStatusKb("VmRSS:"))));

    QElapsedTimer t;
    t.start();
    auto *screen = static_cast<OrderLinesScreen *>(GridScreen::create<OrderLinesScreen>(session));
    screen->show();
    QApplication::processEvents();
    screen->gridView->viewport()->repaint();
    const qint64 firstRows = t.elapsed();
    PagedQueryModel *model = screen->model();
    if (model->rowCount() == 0 || model->text(0, 10).isEmpty())
        die(QStringLiteral("the grid shows no rows"));
    say(QStringLiteral("grid screen, first rows shown:      %1 (%2 rows, target 1 s)")
            .arg(seconds(firstRows))
            .arg(screen->gridView->toolTip()));

    t.restart();
    QKeyEvent ctrlEnd(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(screen->gridView, &ctrlEnd);
    screen->gridView->viewport()->repaint();
    const qint64 toEnd = t.elapsed();
    if (screen->columnText(QStringLiteral("IMP_LN")) != QString::number(model->rowCount()))
        die(QStringLiteral("the last row is not the current one"));
    say(QStringLiteral("scrolled to the last row in:        %1").arg(seconds(toEnd)));
    say(QStringLiteral("memory after the last row (RSS):    %1 (target 200 MB)")
            .arg(mb(procStatusKb("VmRSS:"))));

    // Dragging the scroll bar from top to bottom: every page read once.
    t.restart();
    QScrollBar *bar = screen->gridView->verticalScrollBar();
    for (int v = 0; v <= bar->maximum(); v += model->pageSize()) {
        bar->setValue(v);
        screen->gridView->viewport()->repaint();
    }
    say(QStringLiteral("scrolled through every row in:      %1 (%2 pages read)")
            .arg(seconds(t.elapsed()))
            .arg(model->pagesFetched()));
    say(QStringLiteral("memory after every row (RSS):       %1, peak %2")
            .arg(mb(procStatusKb("VmRSS:")), mb(procStatusKb("VmHWM:"))));
    delete screen;
    session.shutdown();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0)
        return gridChild(argc, argv);
    QCoreApplication app(argc, argv);
    const int lines = intOption(app.arguments(), QStringLiteral("--lines"), 1000000);

    forEachEngine(app.arguments(), QStringLiteral("bench_grid"), [&](const BenchEngine &e) {
        QTemporaryDir dir;
        ConnectionSettings settings = e.settings;
        settings.baseDir = dir.path();
        benchEngine(app.applicationFilePath(), settings, lines);
    });
    return 0;
}
