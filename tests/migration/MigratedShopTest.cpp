// A shop switched over from the existing system goes on with its day: the demo shop's history
// (a confirmed day of the demo generator's orders) exported as the existing system's tools
// write it, migrated, and the next day imported on top of it.
#include "DbTest.h"
#include "ExportFiles.h"

#include "ConfirmedOrderQuery.h"
#include "DemoData.h"
#include "DemoOrderFile.h"
#include "ImportRun.h"
#include "MasterFiles.h"
#include "MigrationRun.h"
#include "MigrationSource.h"
#include "Schema.h"

#include <QSqlRecord>

using namespace ExportFiles;

namespace {

// The char columns of the existing system's order table, padded to their width by bcp.
const QMap<QString, int> kCharWidths = {
    {"KNR_NO", 10}, {"LOT_NO", 12}, {"FC_RG", 4}, {"CAR_CD", 6}, {"QUL_KEY", 12}};

// A table of the old shop's database as bcp -c writes it, headerless, in the existing
// system's column order.
QByteArray bcpOf(Db &db, const QString &table)
{
    const QStringList columns = CarriedTables::existingColumnOrder(table);
    QList<QStringList> rows;
    db.forEach("SELECT " + columns.join(',') + " FROM " + table, {}, [&](const QSqlQuery &q) {
        QStringList row;
        for (int i = 0; i < columns.size(); ++i)
            row << q.value(i).toString().leftJustified(kCharWidths.value(columns.at(i)), ' ');
        rows << row;
    });
    return bcpCharacter(rows);
}

} // namespace

class MigratedShopTest : public DbTest {};
INSTANTIATE_ENGINES(MigratedShopTest);

TEST_P(MigratedShopTest, AMigratedDemoShopImportsItsNextDayOnItsHistory)
{
    // The shop before the switch: a day imported and confirmed.
    ConnectionSettings oldShop;
    oldShop.provider = "SQLite";
    oldShop.server = "old.db";
    oldShop.baseDir = dir();
    Db old(oldShop);
    old.open(/*createIfMissing*/ true);
    QString message;
    ASSERT_EQ(Schema::create(old, &message), Outcome::Done);
    DemoData::loadMasters(old);
    DemoData::openBusinessMonth(old, QDate(2026, 12, 8));
    DemoOrderFile::Options options;
    options.date = QDate(2026, 12, 7);
    options.lines = 150;
    options.seed = 11;
    const QString orders = path("orders.txt");
    write(orders, DemoOrderFile::generate(options));
    ASSERT_EQ(ImportRun(old, dialogs, progress)
                  .run({orders, "20261207", "2026", "12", QDate(2026, 12, 7)}),
              Outcome::Done)
        << dialogs.texts().join('\n').toStdString();
    old.exec("UPDATE TBL_ORDER SET FLG3 = '1', FLG4 = '1', B1 = '2026/12/07 15:00:00', "
             "B2 = '2026/12/07 17:30:00'");
    old.exec("UPDATE SYS_IMPDATE SET KAKUTEI_FLG = '1'");

    // Its export: the masters as the wizard's CSV, the rest as bcp -c with char padding.
    const QString folder = path("export");
    ASSERT_TRUE(MasterFiles(old).dump(folder).ok);
    for (const QString &t :
         QStringList{"SYS_TUKI", "SYS_IMPDATE", "SYS_KNR_NO", "TBL_ORDER", "TBL_ERR"})
        write(folder + "/" + t + ".txt", bcpOf(old, t));
    const int historyLines = old.scalar("SELECT COUNT(*) FROM TBL_ORDER").toInt();

    QString problem;
    const auto source = MigrationSource::fromArgument(folder, &problem);
    ASSERT_TRUE(source) << problem.toStdString();
    const MigrationReport report = MigrationRun(db(), progress).run(*source, false);
    ASSERT_EQ(report.outcome, MigrationReport::Outcome::Migrated) << report.text().toStdString();
    EXPECT_TRUE(report.notes.isEmpty()) << report.notes.join('\n').toStdString();

    // The next day, the same orders again (their lots are the history's lots).
    dialogs.clear();
    ASSERT_EQ(ImportRun(db(), dialogs, progress)
                  .run({orders, "20261208", "2026", "12", QDate(2026, 12, 8)}),
              Outcome::Done)
        << dialogs.texts().join('\n').toStdString();

    // Control numbers go on after the history's, factory by factory.
    const auto numbers = db().rows(
        "SELECT FC_RG, IMP_DATE, MIN(KNR_NO), MAX(KNR_NO) FROM TBL_ORDER GROUP BY FC_RG, IMP_DATE "
        "ORDER BY FC_RG, IMP_DATE");
    ASSERT_FALSE(numbers.isEmpty());
    for (int i = 0; i + 1 < numbers.size(); i += 2) {
        const QString fc = numbers[i].value(0).toString();
        ASSERT_EQ(numbers[i + 1].value(0).toString(), fc);
        const int lastOfHistory = MigrationRun::numberOf(numbers[i].value(3).toString(), fc);
        const int firstOfNextDay = MigrationRun::numberOf(numbers[i + 1].value(2).toString(), fc);
        EXPECT_EQ(firstOfNextDay, lastOfHistory + 1) << fc.toStdString();
    }
    // Lot totals of the new day count the migrated lines of the same lot.
    const auto lots = db().rows(
        "SELECT N.IMP_LN, N.LOT_SU, H.LOT_SU FROM TBL_ORDER N JOIN TBL_ORDER H "
        "ON H.IMP_LN = N.IMP_LN AND H.IMP_DATE = '20261207' WHERE N.IMP_DATE = '20261208'");
    ASSERT_EQ(lots.size(), historyLines);
    for (const QSqlRecord &r : lots)
        EXPECT_EQ(r.value(1).toInt(), 2 * r.value(2).toInt()) << "line " << r.value(0).toInt();
    // The confirmed-order reference shows the migrated history.
    EXPECT_EQ(db().rows(ConfirmedOrderQuery::sql({})).size(), historyLines);
}
