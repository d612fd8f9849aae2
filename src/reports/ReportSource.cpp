#include "ReportSource.h"

QString ReportSource::from() const
{
    if (condition.isEmpty() && table.compare(QLatin1String("WRK_RPT"), Qt::CaseInsensitive) == 0)
        return table;
    return QStringLiteral("(Select * From ") + table + QLatin1Char(' ') + condition +
           QStringLiteral(") WRK_RPT");
}

QVariantMap ReportSource::with(const QVariantMap &own) const
{
    QVariantMap all = own;
    for (auto it = params.constBegin(); it != params.constEnd(); ++it)
        all.insert(it.key(), it.value());
    return all;
}
