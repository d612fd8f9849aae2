#include "Utilities.h"

#include <QRegularExpression>

QString monthCodeToYearMonth(const QString &code, const QDate &today)
{
    const QString refused = QStringLiteral("ｴﾗｰ!!");
    int month = 0;
    if (code.size() == 1 && code.at(0) >= QLatin1Char('1') && code.at(0) <= QLatin1Char('9'))
        month = code.at(0).unicode() - '0';
    else if (code == QLatin1String("X"))
        month = 10;
    else if (code == QLatin1String("Y"))
        month = 11;
    else if (code == QLatin1String("Z"))
        month = 12;
    else
        return refused;

    const int year = today.year();
    const int earlier = today.month() <= 6 ? year - 1 : year;
    const int later = earlier + 1;
    const int distance = qAbs((later * 12 + month) - (year * 12 + today.month()));
    const int chosen = distance > 6 ? earlier : later;
    return QStringLiteral("%1X%2")
        .arg(chosen % 100, 2, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'));
}

namespace {
QDate parseDateText(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{4})/(\\d{1,2})/(\\d{1,2})$"));
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}
} // namespace

bool isDateText(const QString &text)
{
    return parseDateText(text).isValid();
}

QString formatDateText(const QString &text)
{
    const QDate date = parseDateText(text);
    return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

QString normalizeDateText(const QString &text)
{
    return isDateText(text) ? formatDateText(text) : text;
}

QString controlNumberOrder(const QString &column)
{
    // The factory part (what is left when the trailing digits go), then the length: within one
    // factory a longer number is a larger one. rtrim with a set of characters and length mean
    // the same on both engines.
    return QStringLiteral("rtrim(%1, '0123456789'), length(%1), %1").arg(column);
}

bool isNumericText(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    return re.match(text).hasMatch();
}
