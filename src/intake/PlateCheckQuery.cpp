#include "PlateCheckQuery.h"

#include "Utilities.h"

PlateMaster PlateMaster::composition()
{
    return {QStringLiteral("QUL_KEY"), QStringLiteral("MST_QULPLATE"),
            QStringLiteral("MST_QULPLATE.QUL_KEY Is Null "),
            QStringLiteral("MST_QULPLATE.SU = 0  ")};
}

PlateMaster PlateMaster::size()
{
    return {QStringLiteral("SIZE_KEY"), QStringLiteral("MST_SIZ"),
            QStringLiteral("MST_SIZ.SIZE_KEY Is Null "), QStringLiteral("MST_SIZ.HAN_NO = ''  ")};
}

namespace {
QString branch(const PlateMaster &plate, const QString &join, const QString &condition,
               const QString &date)
{
    const QString orderKey = QStringLiteral("TBL_ORDER.") + plate.keyField;
    return QStringLiteral("Select TBL_ORDER.KNR_NO,") + orderKey +
           QStringLiteral(",TBL_ORDER.IMP_LN From TBL_ORDER ") + join + QLatin1Char(' ') +
           plate.master + QStringLiteral(" On ") + orderKey + QStringLiteral(" = ") + plate.master +
           QLatin1Char('.') + plate.keyField + QStringLiteral(" Where TBL_ORDER.IMP_DATE = ") +
           date + QStringLiteral(" And TBL_ORDER.DATA_FLG = '0' And ") + condition;
}
} // namespace

QString PlateCheckQuery::sql(const PlateMaster &plate)
{
    // The day is bound once per branch (:d1, :d2): the PostgreSQL driver takes each placeholder
    // once. Control numbers in number order (AB-999 before AB-1000): both engines order a union
    // only by its output columns, so the union is read as a table.
    return QStringLiteral("Select * From (") +
           branch(plate, QStringLiteral("Left Join"), plate.missing, QStringLiteral(":d1")) +
           QStringLiteral("Union All ") +
           branch(plate, QStringLiteral("Inner Join"), plate.withoutPlate, QStringLiteral(":d2")) +
           QStringLiteral(") P Order By ") + controlNumberOrder(QStringLiteral("P.KNR_NO")) +
           QStringLiteral(", P.IMP_LN ");
}

QVariantMap PlateCheckQuery::params(const QString &impDate)
{
    return {{QStringLiteral("d1"), impDate}, {QStringLiteral("d2"), impDate}};
}
