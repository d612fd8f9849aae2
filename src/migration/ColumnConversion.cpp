#include "ColumnConversion.h"

#include "Cp932.h"
#include "SqlServerTypes.h"

namespace {

bool isDigits(const QString &text, qsizetype from, qsizetype count)
{
    for (qsizetype i = from; i < from + count; ++i)
        if (i >= text.size() || text.at(i) < QLatin1Char('0') || text.at(i) > QLatin1Char('9'))
            return false;
    return true;
}

bool hasNonAscii(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return true;
    return false;
}

// The forms the desk keeps already need no parsing (the bulk of a million lines).
bool isImportDate(const QString &t)
{
    return t.size() == 8 && isDigits(t, 0, 8);
}

bool isSlashDate(const QString &t)
{
    return t.size() == 10 && t.at(4) == QLatin1Char('/') && t.at(7) == QLatin1Char('/') &&
           isDigits(t, 0, 4) && isDigits(t, 5, 2) && isDigits(t, 8, 2);
}

bool isStamp(const QString &t)
{
    return t.size() == 19 && isSlashDate(t.left(10)) && t.at(10) == QLatin1Char(' ') &&
           t.at(13) == QLatin1Char(':') && t.at(16) == QLatin1Char(':');
}

QString shown(const QString &value)
{
    return value.size() > 40 ? value.left(40) + QStringLiteral("…") : value;
}

} // namespace

ColumnConversion::ColumnConversion(const QString &table, const MasterFiles::Column &column)
    : m_column(column), m_form(CarriedTables::formOf(table, column.name))
{
}

QString ColumnConversion::text(const QString &value) const
{
    const QString t = SqlServerTypes::withoutPadding(value);
    if (t.isEmpty())
        return t;
    switch (m_form) {
    case CarriedTables::Form::Text:
        return t;
    case CarriedTables::Form::ImportDate:
        if (!isImportDate(t))
            if (const auto d = SqlServerTypes::dateTime(t))
                return d->date.toString(QStringLiteral("yyyyMMdd"));
        return t;
    case CarriedTables::Form::SlashDate:
        if (!isSlashDate(t))
            if (const auto d = SqlServerTypes::dateTime(t))
                return d->date.toString(QStringLiteral("yyyy/MM/dd"));
        return t;
    case CarriedTables::Form::Stamp:
        if (!isStamp(t))
            if (const auto d = SqlServerTypes::dateTime(t))
                return d->date.toString(QStringLiteral("yyyy/MM/dd ")) +
                       d->time.toString(QStringLiteral("HH:mm:ss"));
        return t;
    case CarriedTables::Form::TwoDigitMonth:
        return t.size() == 1 && isDigits(t, 0, 1) ? QLatin1Char('0') + t : t;
    case CarriedTables::Form::Flag:
        return SqlServerTypes::flagText(t);
    }
    return t;
}

std::optional<QVariant> ColumnConversion::convert(const QString &value, bool fromCp932,
                                                  QString *reason) const
{
    if (value.contains(QChar(u'\0'))) {
        *reason = QStringLiteral("NUL文字が含まれています。");
        return std::nullopt;
    }
    std::optional<QVariant> result;
    QString why;
    switch (m_column.kind) {
    case MasterFiles::Kind::Integer: {
        const QString t = SqlServerTypes::wholeNumber(value.trimmed());
        if (!t.isEmpty() && t.size() <= 9 && isDigits(t, 0, t.size()))
            return QVariant(t.toLongLong());
        result = MasterFiles::integerValue(t, &why);
        break;
    }
    case MasterFiles::Kind::Decimal:
        result = MasterFiles::decimalValue(
            SqlServerTypes::decimalWithScale(value.trimmed(), m_column.scale), m_column, &why);
        break;
    case MasterFiles::Kind::Text: {
        const QString t = text(value);
        if (!fromCp932 && hasNonAscii(t)) {
            const Cp932::Encoded encoded = Cp932::encode(t);
            if (!encoded.ok()) {
                *reason =
                    QStringLiteral("CP932 で表せない文字「%1」があります。").arg(encoded.badChar);
                return std::nullopt;
            }
        }
        return QVariant(t);
    }
    }
    if (!result)
        *reason = QStringLiteral("%1（値「%2」）。").arg(why, shown(value));
    return result;
}
