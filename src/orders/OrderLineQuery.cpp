#include "OrderLineQuery.h"

#include "Utilities.h"

#include <QStringList>

namespace OrderLineQuery {

QString sql(const OrderCondition &condition, const QString &sortField, bool descending)
{
    QString order;
    if (!sortField.isEmpty()) {
        const QString direction = descending ? QStringLiteral(" Desc") : QString();
        QStringList terms = sortField == QLatin1String("KNR_NO")
                                ? controlNumberOrder(sortField).split(QStringLiteral(", "))
                                : QStringList{sortField};
        for (QString &term : terms)
            term += direction;
        order = terms.join(QStringLiteral(", ")) + QStringLiteral(", ");
    }
    return QStringLiteral("Select * From TBL_ORDER ") + condition.text() + QStringLiteral(" ") +
           QStringLiteral(" Order By ") + order + QStringLiteral("IMP_DATE, IMP_LN ");
}

} // namespace OrderLineQuery
