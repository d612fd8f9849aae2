#include "SqlServerTypes.h"

#include <QDateTime>
#include <QRegularExpression>

namespace SqlServerTypes {

QString withoutPadding(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return end == text.size() ? text : text.left(end);
}

bool isBcpEmptyString(QStringView field)
{
    return field.size() == 1 && field.at(0) == QChar(u'\0');
}

std::optional<DateTime> dateTime(const QString &text)
{
    // Year, month and day with - or /, then optionally a time with one- or two-digit hours
    // and an optional fraction of a second.
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4})[-/](\\d{1,2})[-/](\\d{1,2})(?:[ "
                       "T](\\d{1,2}):(\\d{2})(?::(\\d{2})(?:\\.\\d{1,7})?)?)?$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0, 0);
    if (!m.captured(4).isEmpty()) {
        time = QTime(m.captured(4).toInt(), m.captured(5).toInt(),
                     m.captured(6).isEmpty() ? 0 : m.captured(6).toInt());
        if (!time.isValid())
            return std::nullopt;
    }
    return DateTime{date, time};
}

QString wholeNumber(const QString &text)
{
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        return text;
    const QString fraction = text.mid(point + 1).trimmed();
    for (QChar c : fraction)
        if (c != QLatin1Char('0'))
            return text;
    return text.left(point);
}

QString decimalWithScale(const QString &text, int scale)
{
    const QString t = text.trimmed();
    const qsizetype point = t.indexOf(QLatin1Char('.'));
    if (point < 0 || scale < 0)
        return text;
    qsizetype end = t.size();
    while (end > point + 1 + scale && t.at(end - 1) == QLatin1Char('0'))
        --end;
    if (end == point + 1)
        --end; // "12." -> "12"
    return t.left(end);
}

QString flagText(const QString &text)
{
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("1");
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("0");
    return text;
}

std::optional<QString> odbcText(const QVariant &value, QString *reason)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Double:
    case QMetaType::Float: {
        // Without an exponent and without the noise of binary fractions.
        static const QRegularExpression zeros(QStringLiteral("\\.?0+$"));
        return QString::number(value.toDouble(), 'f', 6).remove(zeros);
    }
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QByteArray:
        if (reason)
            *reason = QStringLiteral("バイナリの値は読み込めません。");
        return std::nullopt;
    default:
        return value.toString();
    }
}

} // namespace SqlServerTypes
