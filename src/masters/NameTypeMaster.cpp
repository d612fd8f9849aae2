#include "NameTypeMaster.h"

#include <QRegularExpression>

#include <cmath>

QStringList NameTypeMaster::columns() const
{
    return {QStringLiteral("CAR_CD"),    QStringLiteral("LAYOUT1"),   QStringLiteral("B1"),
            QStringLiteral("O_SHO_CD"),  QStringLiteral("D_SHO_CD"),  QStringLiteral("PRICE"),
            QStringLiteral("SHO_NM1"),   QStringLiteral("SHO_NM2"),   QStringLiteral("SPARE_SU0"),
            QStringLiteral("SPARE_SU1"), QStringLiteral("SPARE_SU2"), QStringLiteral("PACKING_SU"),
            QStringLiteral("YARE_SU"),   QStringLiteral("BIKO1"),     QStringLiteral("BIKO2"),
            QStringLiteral("USER_NM"),   QStringLiteral("TIME_STAMP")};
}

QString NameTypeMaster::missingKeyMessage() const
{
    return QStringLiteral("ネーム種が入力されていません。");
}

bool NameTypeMaster::isNumeric(const QString &column)
{
    static const QStringList numeric = {QStringLiteral("PRICE"),      QStringLiteral("SPARE_SU0"),
                                        QStringLiteral("SPARE_SU1"),  QStringLiteral("SPARE_SU2"),
                                        QStringLiteral("PACKING_SU"), QStringLiteral("YARE_SU")};
    return numeric.contains(column);
}

double NameTypeMaster::numberOf(const QString &text)
{
    static const QRegularExpression leading(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)"));
    const QRegularExpressionMatch m = leading.match(QLatin1Char('0') + text.trimmed());
    return m.hasMatch() ? m.captured(0).toDouble() : 0.0;
}

QString NameTypeMaster::formatPrice(const QVariant &value)
{
    if (value.isNull())
        return QString();
    return QString::number(value.toDouble(), 'f', 2);
}

QVariant NameTypeMaster::bindValue(const QString &column, const QString &text) const
{
    if (!isNumeric(column))
        return MasterTable::bindValue(column, text);
    const double number = numberOf(text);
    if (column == QLatin1String("PRICE"))
        return number;
    // The counts are whole numbers; a fraction typed into one is dropped.
    return qlonglong(std::trunc(number));
}

QString NameTypeMaster::displayText(const QString &column, const QVariant &value) const
{
    if (column == QLatin1String("PRICE"))
        return formatPrice(value);
    return MasterTable::displayText(column, value);
}

QString NameTypeMaster::listStatement()
{
    return QStringLiteral("Select * From MST_CAR Order By CAR_CD ");
}
