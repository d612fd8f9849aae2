#include "GridNumberFormat.h"

#include <cmath>

namespace {

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('0') || c == QLatin1Char('#');
}

struct Pattern {
    QString prefix;
    QString suffix;
    int minIntegerDigits = 0;
    int maxDecimals = 0;
    int minDecimals = 0;
    bool grouping = false;
    bool percent = false;
};

Pattern parse(const QString &format)
{
    Pattern p;
    int first = -1;
    int last = -1;
    for (int i = 0; i < format.size(); ++i) {
        if (isPlaceholder(format[i])) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0) {
        p.prefix = format;
        return p;
    }
    // A point right after the last placeholder ("0.") still belongs to the number.
    if (last + 1 < format.size() && format[last + 1] == QLatin1Char('.'))
        ++last;
    p.prefix = format.left(first);
    p.suffix = format.mid(last + 1);
    p.percent = format.contains(QLatin1Char('%'));
    const QString body = format.mid(first, last - first + 1);
    const int point = body.indexOf(QLatin1Char('.'));
    const QString integer = point < 0 ? body : body.left(point);
    const QString fraction = point < 0 ? QString() : body.mid(point + 1);
    p.minIntegerDigits = int(integer.count(QLatin1Char('0')));
    p.grouping = integer.contains(QLatin1Char(','));
    for (const QChar c : fraction) {
        if (!isPlaceholder(c))
            continue;
        ++p.maxDecimals;
        if (c == QLatin1Char('0'))
            p.minDecimals = p.maxDecimals;
    }
    return p;
}

QString groupThousands(const QString &digits)
{
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits[i];
    }
    return out;
}

} // namespace

namespace GridNumberFormat {

QString apply(const QVariant &value, const QString &format)
{
    if (value.isNull() || !value.isValid())
        return {};
    bool ok = false;
    double number = value.toDouble(&ok);
    if (!ok || format.isEmpty() || !std::isfinite(number))
        return value.toString();
    const Pattern p = parse(format);
    if (p.percent)
        number *= 100.0;
    // Rounded half away from zero, as the desk's lists always showed money.
    const double scale = std::pow(10.0, p.maxDecimals);
    double rounded = std::round(std::fabs(number) * scale + 1e-9) / scale;
    QString digits = QString::number(rounded, 'f', p.maxDecimals);
    QString integer = digits.section(QLatin1Char('.'), 0, 0);
    QString fraction = digits.section(QLatin1Char('.'), 1);
    while (fraction.size() > p.minDecimals && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (integer == QLatin1String("0") && p.minIntegerDigits == 0)
        integer.clear();
    while (integer.size() < p.minIntegerDigits)
        integer.prepend(QLatin1Char('0'));
    if (p.grouping)
        integer = groupThousands(integer);
    QString text = integer;
    if (!fraction.isEmpty())
        text += QLatin1Char('.') + fraction;
    if (text.isEmpty())
        text = QStringLiteral("0");
    const bool negative = number < 0 && rounded != 0.0;
    return (negative ? QStringLiteral("-") : QString()) + p.prefix + text + p.suffix;
}

} // namespace GridNumberFormat
