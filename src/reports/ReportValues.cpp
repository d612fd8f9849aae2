#include "ReportValues.h"

#include "Clock.h"

#include <QVariant>

namespace ReportValues {

QString text(const QSqlRecord &record, const QString &column)
{
    const int i = record.indexOf(column);
    if (i < 0 || record.isNull(i))
        return QString();
    return record.value(i).toString();
}

qint64 number(const QSqlRecord &record, const QString &column)
{
    const QString t = text(record, column).trimmed();
    bool ok = false;
    const qint64 whole = t.toLongLong(&ok);
    if (ok)
        return whole;
    const double d = t.toDouble(&ok);
    return ok ? qint64(d) : 0;
}

QString thousands(qint64 value)
{
    const bool negative = value < 0;
    QString digits = QString::number(negative ? -value : value);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return negative ? QLatin1Char('-') + digits : digits;
}

QString amount(const QSqlRecord &record, const QString &column)
{
    if (text(record, column).trimmed().isEmpty())
        return QString();
    return thousands(number(record, column));
}

QString printStamp()
{
    return Clock::now().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

} // namespace ReportValues
