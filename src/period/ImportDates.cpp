#include "ImportDates.h"

#include "Db.h"
#include "OrderState.h"

namespace ImportDates {

QStringList unconfirmed(Db &db)
{
    QStringList dates;
    const auto rows = db.rows(QStringLiteral(
        "SELECT IMP_DATE FROM SYS_IMPDATE WHERE KAKUTEI_FLG = '0' ORDER BY IMP_DATE DESC"));
    for (const QSqlRecord &row : rows)
        dates << row.value(0).toString();
    return dates;
}

OrderCondition whereFor(const QString &impDate)
{
    return OrderCondition::where(QStringLiteral("IMP_DATE = "), impDate)
        .add(OrderState::unconverted())
        .add(OrderState::unconfirmed());
}

} // namespace ImportDates
