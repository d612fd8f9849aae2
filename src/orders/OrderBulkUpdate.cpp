#include "OrderBulkUpdate.h"

#include "AuditTrail.h"
#include "Db.h"
#include "Dialogs.h"
#include "HistoryWrite.h"
#include "OrderColumnValues.h"
#include "RunLock.h"
#include "Utilities.h"

#include <QSqlQuery>

#include <algorithm>

QList<PrinterModel> OrderBulkUpdate::printerModels(Db &db)
{
    QList<PrinterModel> models;
    db.forEach(QStringLiteral("SELECT PRINTER, DATA_FLG FROM MST_PRINTER"), {},
               [&](const QSqlQuery &q) {
                   models.append({OrderColumnValues::trimBlanks(q.value(0).toString()),
                                  OrderColumnValues::trimBlanks(q.value(1).toString())});
               });
    return models;
}

Outcome OrderBulkUpdate::check(const BulkUpdateValues &values)
{
    QString refusal;
    if (!values.setDate.isEmpty() && !isDateText(values.setDate))
        refusal = QStringLiteral("日付型でないです。");
    else if (!values.printer.isEmpty() && values.dataFlg.isEmpty())
        refusal = QStringLiteral("一覧から選択してください。");
    else if (!values.special.isEmpty() && values.special != QLatin1String("0") &&
             values.special != QLatin1String("1"))
        refusal = QStringLiteral("特定変換は0か1を指定してください。");
    if (refusal.isEmpty())
        return Outcome::Done;
    m_dialogs.message(refusal, Icon::Error);
    return Outcome::Refused;
}

Outcome OrderBulkUpdate::apply(const BulkUpdateValues &values, const OrderCondition &condition)
{
    m_changed = 0;
    if (const Outcome checked = check(values); checked != Outcome::Done)
        return checked;
    try {
        // The lines a running conversion has taken would otherwise change after their print
        // data was made.
        RunLock lock(m_db, RunLock::Kind::Conversion);
        lock.acquire(m_progress);
        HistoryWrite history(m_db, &m_dialogs);
        AuditTrail audit(history, AuditTrail::kBulkUpdate);
        const auto update = [&](const QString &column, const QString &value) {
            audit.beforeChange(condition.text(), condition.params(), column, value);
            QVariantMap params = condition.params();
            params.insert(QStringLiteral("v"), value);
            const int n = m_db.exec(QStringLiteral("UPDATE TBL_ORDER SET ") + column +
                                        QStringLiteral(" = :v ") + condition.text(),
                                    params);
            m_changed = std::max(m_changed, n);
        };
        Transaction tx(m_db);
        if (!values.setDate.isEmpty())
            update(QStringLiteral("SET_DATE"), formatDateText(values.setDate));
        if (!values.printer.isEmpty()) {
            update(QStringLiteral("PRINTER"), values.printer);
            update(QStringLiteral("DATA_FLG"), values.dataFlg);
        }
        if (!values.special.isEmpty())
            update(QStringLiteral("FLG5"), values.special);
        tx.commit();
    } catch (const DbError &e) {
        m_changed = 0;
        m_dialogs.message(e.describe(), Icon::Error);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

int OrderBulkUpdate::lines(const OrderCondition &condition)
{
    return m_db
        .scalar(QStringLiteral("SELECT COUNT(*) FROM TBL_ORDER ") + condition.text(),
                condition.params())
        .toInt();
}

QString OrderBulkUpdate::questionText(int n)
{
    return QString::number(n) + QStringLiteral("件更新します。\r\n宜しいでしょうか？");
}

QString OrderBulkUpdate::doneText(int n)
{
    return QString::number(n) + QStringLiteral("件更新しました。");
}
