#include "RunHistory.h"

#include "AuditTrail.h"
#include "Clock.h"
#include "Db.h"
#include "OrderState.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

const QString RunHistory::kConverted = QStringLiteral("変換済");
const QString RunHistory::kCancelled = QStringLiteral("取消");
const QString RunHistory::kConfirmed = QStringLiteral("確定");

namespace {

const QString kStampFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");

QStringList columnsOf(Db &db, const QString &table)
{
    QStringList names;
    const QSqlRecord record =
        db.select(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE 1 = 0"))
            .record();
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i).toUpper();
    return names;
}

// WRK_RPT into the run's kept rows, by the columns both tables have.
void keepReportRows(Db &db, const QString &impDate, const QString &stamp)
{
    const QStringList kept = columnsOf(db, QStringLiteral("TBL_RUN_RPT"));
    QStringList shared;
    for (const QString &column : columnsOf(db, QStringLiteral("WRK_RPT")))
        if (kept.contains(column) && column != QLatin1String("B1"))
            shared << column;
    const QString list = shared.join(QLatin1Char(','));
    db.exec(QStringLiteral("INSERT INTO TBL_RUN_RPT (B1,") + list +
                QStringLiteral(") SELECT CAST(:b AS TEXT),") + list +
                QStringLiteral(" FROM WRK_RPT WHERE IMP_DATE = :d"),
            {{QStringLiteral("b"), stamp}, {QStringLiteral("d"), impDate}});
}

void keepFiles(Db &db, const RunRecord &run)
{
    BulkInserter files(db, QStringLiteral("TBL_RUN_FILE"),
                       {QStringLiteral("IMP_DATE"), QStringLiteral("B1"), QStringLiteral("FILE_NO"),
                        QStringLiteral("FOLDER"), QStringLiteral("FILE_NM")});
    int n = 0;
    for (const QString &path : run.files) {
        const QFileInfo info(path);
        files.add({HistoryWrite::text(run.impDate), HistoryWrite::text(run.stamp), ++n,
                   info.absolutePath(), info.fileName()});
    }
    files.finish();
}

} // namespace

RunHistory::RunHistory(Db &db, Dialogs *dialogs, HistoryOperator who)
    : m_write(db, dialogs, std::move(who))
{
}

int RunHistory::linesOfOneEntry(const QString &sql, const QVariantMap &params)
{
    int lines = 0;
    m_write.attempt([&] {
        const QList<QSqlRecord> counts = m_write.db().rows(sql, params);
        if (counts.isEmpty())
            return;
        const QSqlRecord &r = counts.first();
        const int first = r.value(0).toInt();
        for (int i = 1; i < r.count(); ++i)
            if (r.value(i).toInt() != first)
                return;
        lines = first;
    });
    return lines;
}

void RunHistory::beforeStamp(const QString &impDate, const QString &stamp)
{
    AuditTrail audit(m_write, AuditTrail::kConversion);
    // WRK_RPT took one row from each marked line; under the run's lock only a line deleted
    // since then makes the counts differ. The lines all go from FLG3 '0' and B1 '' (the
    // selection takes unconverted lines; a cancel gives B1 back as '').
    const QString marked = QStringLiteral("WHERE ") + OrderState::inRunningConversion();
    const int lines =
        linesOfOneEntry(QStringLiteral("SELECT (SELECT COUNT(*) FROM TBL_ORDER ") + marked +
                            QStringLiteral("), (SELECT COUNT(*) FROM WRK_RPT WHERE IMP_DATE = :d), "
                                           "(SELECT COUNT(*) FROM TBL_ORDER ") +
                            marked + QStringLiteral(" AND IMP_DATE = :d2 AND B1 = '' AND ") +
                            OrderState::unconverted() + QLatin1Char(')'),
                        {{QStringLiteral("d"), impDate}, {QStringLiteral("d2"), impDate}});
    if (lines > 0) {
        audit.runChange(impDate, QStringLiteral("B1"), QString(), stamp, lines);
        return;
    }
    audit.beforeChange(marked, {}, QStringLiteral("FLG3"), QStringLiteral("1"));
    audit.beforeChange(marked, {}, QStringLiteral("B1"), stamp);
}

void RunHistory::recordRun(RunRecord run)
{
    run.user = m_write.who().user;
    run.computer = m_write.who().computer;
    run.state = kConverted;
    run.stateUser = run.user;
    run.stateTime = run.stamp;
    m_write.attempt([&] {
        Db &db = m_write.db();
        db.exec(QStringLiteral(
                    "INSERT INTO TBL_RUN (IMP_DATE, B1, USER_NM, COMPUTER_NM, MACHINE, SET_DATE1, "
                    "SET_DATE2, FLG5, ORDER_CNT, HAN_CNT, CSV_CNT, RPT_CNT, STATE, STATE_USER_NM, "
                    "STATE_TIME) VALUES (:d, :b, :u, :pc, :m, :s1, :s2, :f5, :n1, :n2, :n3, :n4, "
                    ":st, :su, :sat)"),
                {{QStringLiteral("d"), HistoryWrite::text(run.impDate)},
                 {QStringLiteral("b"), HistoryWrite::text(run.stamp)},
                 {QStringLiteral("u"), HistoryWrite::text(run.user)},
                 {QStringLiteral("pc"), HistoryWrite::text(run.computer)},
                 {QStringLiteral("m"), HistoryWrite::text(run.machine)},
                 {QStringLiteral("s1"), HistoryWrite::text(run.setDateFrom)},
                 {QStringLiteral("s2"), HistoryWrite::text(run.setDateTo)},
                 {QStringLiteral("f5"), HistoryWrite::text(run.special)},
                 {QStringLiteral("n1"), run.orderCount},
                 {QStringLiteral("n2"), run.artworkRows},
                 {QStringLiteral("n3"), run.printRows},
                 {QStringLiteral("n4"), run.reportRows},
                 {QStringLiteral("st"), HistoryWrite::text(run.state)},
                 {QStringLiteral("su"), HistoryWrite::text(run.stateUser)},
                 {QStringLiteral("sat"), HistoryWrite::text(run.stateTime)}});
        keepFiles(db, run);
        keepReportRows(db, run.impDate, run.stamp);
    });
}

void RunHistory::beforeCancel(const QString &impDate, const QString &stamp)
{
    // The lines the cancel statement reverts.
    const QString lines =
        QStringLiteral("WHERE IMP_DATE = :h_d AND B1 = :h_b AND ") + OrderState::unconfirmed();
    const QVariantMap params{{QStringLiteral("h_d"), impDate}, {QStringLiteral("h_b"), stamp}};
    AuditTrail audit(m_write, AuditTrail::kCancel);
    // One entry when the lines it reverts are exactly the lines the run kept, all converted.
    const int runLines = linesOfOneEntry(
        QStringLiteral("SELECT (SELECT COUNT(*) FROM TBL_ORDER ") + lines +
            QStringLiteral("), (SELECT COUNT(*) FROM TBL_ORDER ") + lines +
            QStringLiteral(" AND ") + OrderState::converted() +
            QStringLiteral("), (SELECT COUNT(*) FROM TBL_RUN_RPT "
                           "WHERE IMP_DATE = :h_d AND B1 = :h_b), (SELECT COUNT(*) FROM "
                           "TBL_RUN_RPT R WHERE R.IMP_DATE = :h_d AND R.B1 = :h_b AND EXISTS "
                           "(SELECT 1 FROM TBL_ORDER O WHERE O.IMP_DATE = R.IMP_DATE AND "
                           "O.IMP_LN = R.IMP_LN AND O.B1 = R.B1 AND ") +
            OrderState::unconfirmed(QStringLiteral("O")) + QStringLiteral("))"),
        params);
    if (runLines > 0) {
        audit.runChange(impDate, QStringLiteral("B1"), stamp, QString(), runLines);
    } else {
        audit.beforeChange(lines, params, QStringLiteral("FLG3"), QStringLiteral("0"));
        audit.beforeChange(lines, params, QStringLiteral("B1"), QString());
    }
    setState(QStringLiteral("IMP_DATE = :d AND B1 = :b"),
             {{QStringLiteral("d"), impDate}, {QStringLiteral("b"), stamp}}, kCancelled);
}

void RunHistory::beforeConfirm(const QString &impDate, const OrderCondition &condition,
                               const QString &stamp)
{
    AuditTrail audit(m_write, AuditTrail::kConfirm);
    // The confirmed lines are then the day's lines holding the stamp in B2: one entry when
    // every line it takes goes from FLG4 '0' and B2 '' and no line holds the stamp yet.
    QVariantMap params = condition.params();
    params.insert(QStringLiteral("d"), impDate);
    params.insert(QStringLiteral("b"), stamp);
    const int lines = linesOfOneEntry(
        QStringLiteral("SELECT COUNT(*), SUM(CASE WHEN ") + OrderState::unconfirmed() +
            QStringLiteral(" AND B2 = '' THEN 1 ELSE 0 END) + (SELECT COUNT(*) FROM TBL_ORDER "
                           "WHERE IMP_DATE = :d AND B2 = :b) FROM TBL_ORDER ") +
            condition.text(),
        params);
    if (lines > 0) {
        audit.runChange(impDate, QStringLiteral("B2"), QString(), stamp, lines);
    } else {
        audit.beforeChange(condition.text(), condition.params(), QStringLiteral("FLG4"),
                           QStringLiteral("1"));
        audit.beforeChange(condition.text(), condition.params(), QStringLiteral("B2"), stamp);
    }
    setState(QStringLiteral("IMP_DATE = :d AND STATE = :was"),
             {{QStringLiteral("d"), impDate}, {QStringLiteral("was"), kConverted}}, kConfirmed);
}

void RunHistory::setState(const QString &condition, const QVariantMap &params, const QString &state)
{
    m_write.attempt([&] {
        QVariantMap all = params;
        all.insert(QStringLiteral("st"), state);
        all.insert(QStringLiteral("su"), HistoryWrite::text(m_write.who().user));
        all.insert(QStringLiteral("sat"), m_write.at());
        m_write.db().exec(QStringLiteral("UPDATE TBL_RUN SET STATE = :st, STATE_USER_NM = :su, "
                                         "STATE_TIME = :sat WHERE ") +
                              condition,
                          all);
    });
}

QString RunHistory::unusedStamp(Db &db, const QString &impDate, const QString &candidate)
{
    if (!db.tableExists(QStringLiteral("TBL_RUN")))
        return candidate;
    const QString latest =
        db.scalar(QStringLiteral("SELECT MAX(B1) FROM TBL_RUN WHERE IMP_DATE = :d"),
                  {{QStringLiteral("d"), impDate}})
            .toString();
    if (latest < candidate)
        return candidate;
    const QDateTime latestAt = QDateTime::fromString(latest, kStampFormat);
    return latestAt.isValid() ? Clock::stamp(latestAt.addSecs(1)) : candidate;
}
