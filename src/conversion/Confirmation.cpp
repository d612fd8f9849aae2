#include "Confirmation.h"

#include "Clock.h"
#include "Db.h"
#include "Dialogs.h"
#include "OrderState.h"
#include "RunHistory.h"
#include "RunLock.h"

ConfirmationCounts Confirmation::counts(Db &db, const QString &impDate)
{
    const QString base = QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER WHERE IMP_DATE = :d");
    const QVariantMap date{{QStringLiteral("d"), impDate}};
    ConfirmationCounts c;
    c.total = db.scalar(base, date).toInt();
    c.converted = db.scalar(base + QStringLiteral(" AND ") + OrderState::converted(), date).toInt();
    c.unconverted =
        db.scalar(base + QStringLiteral(" AND ") + OrderState::unconverted(), date).toInt();
    return c;
}

OrderCondition Confirmation::condition(const QString &impDate)
{
    return OrderCondition::where(QStringLiteral("IMP_DATE = "), impDate)
        .add(OrderState::unconfirmed());
}

Outcome Confirmation::run(const QString &impDate, const ConfirmationCounts &shown)
{
    // A confirmation cannot be undone: Enter alone never confirms.
    if (!m_dialogs.ask(QStringLiteral("確定しますか？"), Icon::Question, QString(), true))
        return Outcome::Declined;
    if (shown.total == 0) {
        m_dialogs.message(QStringLiteral("レコードがありません。"), Icon::Error);
        return Outcome::Refused;
    }
    if (shown.unconverted > 0 &&
        !m_dialogs.ask(QStringLiteral("変換処理されていないレコードが含まれています。\r\n"
                                      "それでも確定しますか？"),
                       Icon::Question, QString(), true))
        return Outcome::Declined;
    try {
        // A conversion in progress on another workstation finishes first, so no line is
        // confirmed while it is being converted.
        RunLock lock(m_db, RunLock::Kind::Conversion);
        lock.acquire(m_progress);
        Transaction tx(m_db);
        const QString stamp = Clock::stamp();
        RunHistory history(m_db, &m_dialogs);
        const OrderCondition lines = condition(impDate);
        history.beforeConfirm(impDate, lines, stamp);
        QVariantMap params = lines.params();
        params.insert(QStringLiteral("stamp"), stamp);
        m_db.exec(QStringLiteral("UPDATE TBL_ORDER SET FLG4 = '1', B2 = :stamp ") + lines.text(),
                  params);
        m_db.exec(QStringLiteral("UPDATE SYS_IMPDATE SET KAKUTEI_FLG = '1' WHERE IMP_DATE = :d"),
                  {{QStringLiteral("d"), impDate}});
        tx.commit();
    } catch (const DbError &e) {
        m_dialogs.message(e.describe(), Icon::Error);
        return Outcome::Failed;
    }
    m_dialogs.message(QStringLiteral("完了です。"));
    return Outcome::Done;
}
