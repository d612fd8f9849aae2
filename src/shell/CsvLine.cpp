#include "CsvLine.h"

namespace {

QString quotedValue(const QString &value)
{
    QString doubled = value;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

bool needsQuotes(const QString &value)
{
    return value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"')) ||
           value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')) ||
           (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
}
} // namespace

QString CsvLine::quoted(const QStringList &values)
{
    QStringList fields;
    fields.reserve(values.size());
    for (const QString &value : values)
        fields << quotedValue(value);
    return fields.join(QLatin1Char(','));
}

QString CsvLine::minimal(const QStringList &values)
{
    if (values.size() == 1 && values.front().isEmpty())
        return QStringLiteral("\"\"");
    QStringList fields;
    fields.reserve(values.size());
    for (const QString &value : values)
        fields << (needsQuotes(value) ? quotedValue(value) : value);
    return fields.join(QLatin1Char(','));
}
