#include "RunList.h"

#include "Db.h"
#include "Installation.h"

#include <QSqlRecord>

namespace RunList {

namespace {

const QString kSelect = QStringLiteral(
    "SELECT IMP_DATE, B1, USER_NM, COMPUTER_NM, MACHINE, SET_DATE1, SET_DATE2, FLG5, ORDER_CNT, "
    "HAN_CNT, CSV_CNT, RPT_CNT, STATE, STATE_USER_NM, STATE_TIME FROM TBL_RUN ");
// Stamps sort as times; runs of two days in the same second keep the later day first.
const QString kNewestFirst = QStringLiteral(" ORDER BY B1 DESC, IMP_DATE DESC");

RunRecord recordOf(const QSqlRecord &r)
{
    RunRecord run;
    run.impDate = r.value(0).toString();
    run.stamp = r.value(1).toString();
    run.user = r.value(2).toString();
    run.computer = r.value(3).toString();
    run.machine = r.value(4).toString();
    run.setDateFrom = r.value(5).toString();
    run.setDateTo = r.value(6).toString();
    run.special = r.value(7).toString();
    run.orderCount = r.value(8).toInt();
    run.artworkRows = r.value(9).toInt();
    run.printRows = r.value(10).toInt();
    run.reportRows = r.value(11).toInt();
    run.state = r.value(12).toString();
    run.stateUser = r.value(13).toString();
    run.stateTime = r.value(14).toString();
    return run;
}

QVariantMap runKey(const QString &impDate, const QString &stamp)
{
    return {{QStringLiteral("d"), impDate}, {QStringLiteral("b"), stamp}};
}

} // namespace

QList<RunRecord> runs(Db &db, const QString &impDate)
{
    const QList<QSqlRecord> rows =
        impDate.isEmpty() ? db.rows(kSelect + kNewestFirst)
                          : db.rows(kSelect + QStringLiteral("WHERE IMP_DATE = :d") + kNewestFirst,
                                    {{QStringLiteral("d"), impDate}});
    QList<RunRecord> result;
    for (const QSqlRecord &r : rows)
        result.append(recordOf(r));
    return result;
}

std::optional<RunRecord> find(Db &db, const QString &impDate, const QString &stamp)
{
    const QList<QSqlRecord> rows = db.rows(
        kSelect + QStringLiteral("WHERE IMP_DATE = :d AND B1 = :b"), runKey(impDate, stamp));
    if (rows.isEmpty())
        return std::nullopt;
    RunRecord run = recordOf(rows.first());
    run.files = files(db, impDate, stamp);
    return run;
}

QStringList impDatesOf(Db &db, const QString &stamp)
{
    QStringList dates;
    for (const QSqlRecord &r :
         db.rows(QStringLiteral("SELECT IMP_DATE FROM TBL_RUN WHERE B1 = :b ORDER BY IMP_DATE"),
                 {{QStringLiteral("b"), stamp}}))
        dates << r.value(0).toString();
    return dates;
}

QStringList files(Db &db, const QString &impDate, const QString &stamp)
{
    QStringList paths;
    for (const QSqlRecord &r : db.rows(QStringLiteral("SELECT FOLDER, FILE_NM FROM TBL_RUN_FILE "
                                                      "WHERE IMP_DATE = :d AND B1 = :b "
                                                      "ORDER BY FILE_NO"),
                                       runKey(impDate, stamp)))
        paths << Installation::joinPath(r.value(0).toString(), r.value(1).toString());
    return paths;
}

QStringList folders(Db &db, const QString &impDate, const QString &stamp)
{
    QStringList result;
    for (const QSqlRecord &r : db.rows(QStringLiteral("SELECT FOLDER FROM TBL_RUN_FILE "
                                                      "WHERE IMP_DATE = :d AND B1 = :b "
                                                      "ORDER BY FILE_NO"),
                                       runKey(impDate, stamp))) {
        const QString folder = r.value(0).toString();
        if (!result.contains(folder))
            result << folder;
    }
    return result;
}

bool hasReportRows(Db &db, const QString &impDate, const QString &stamp)
{
    return db.exists(QStringLiteral("SELECT 1 FROM TBL_RUN_RPT WHERE IMP_DATE = :d AND B1 = :b"),
                     runKey(impDate, stamp));
}

QString gridSql()
{
    return QStringLiteral(
               "SELECT IMP_DATE AS \"処理日\", B1 AS \"変換日時\", STATE AS \"状態\", "
               "USER_NM AS \"担当者\", COMPUTER_NM AS \"端末\", MACHINE AS \"生産機種\", "
               "SET_DATE1 AS \"セット日From\", SET_DATE2 AS \"セット日To\", "
               "FLG5 AS \"特定変換\", ORDER_CNT AS \"発注レコード件数\", "
               "HAN_CNT AS \"ネーム版下件数\", CSV_CNT AS \"印字データ件数\", "
               "RPT_CNT AS \"レポート件数\", STATE_USER_NM AS \"状態変更者\", "
               "STATE_TIME AS \"状態変更日時\" FROM TBL_RUN") +
           kNewestFirst;
}

} // namespace RunList
