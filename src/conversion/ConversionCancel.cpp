#include "ConversionCancel.h"

#include "Db.h"
#include "Dialogs.h"
#include "OrderState.h"
#include "RunHistory.h"
#include "RunLock.h"

QString ConversionCancel::latestStamp(Db &db, const QString &impDate)
{
    return db
        .scalar(QStringLiteral("SELECT MAX(B1) FROM TBL_ORDER WHERE IMP_DATE = :d AND "
                               "NOT B1 = '' AND ") +
                    OrderState::converted() + QStringLiteral(" AND ") + OrderState::unconfirmed(),
                {{QStringLiteral("d"), impDate}})
        .toString();
}

Outcome ConversionCancel::run(const QString &impDate)
{
    if (!m_dialogs.ask(QStringLiteral("前回変換をキャンセルしますか？"), Icon::Question, QString(),
                       true))
        return Outcome::Declined;
    try {
        // A run in progress stamps its lines at its very end: waiting for it keeps "the
        // latest run" what the operator sees once it has finished.
        RunLock lock(m_db, RunLock::Kind::Conversion);
        lock.acquire(m_progress);
        const QString latest = latestStamp(m_db, impDate);
        if (latest.isEmpty()) {
            m_dialogs.message(QStringLiteral("レコードがありません。"), Icon::Error);
            return Outcome::Refused;
        }
        Transaction tx(m_db);
        RunHistory history(m_db, &m_dialogs);
        history.beforeCancel(impDate, latest);
        m_db.exec(QStringLiteral("UPDATE TBL_ORDER SET FLG3 = '0', B1 = '' WHERE IMP_DATE = :d "
                                 "AND B1 = :b AND ") +
                      OrderState::unconfirmed(),
                  {{QStringLiteral("d"), impDate}, {QStringLiteral("b"), latest}});
        tx.commit();
    } catch (const DbError &e) {
        m_dialogs.message(e.describe(), Icon::Error);
        return Outcome::Failed;
    }
    m_dialogs.message(QStringLiteral("完了しました。"));
    return Outcome::Done;
}
