#include "OrderColumnValues.h"

#include "Db.h"
#include "OrderState.h"
#include "Utilities.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace {
// Column names are pasted into the statement, so only plain names are accepted.
void requirePlainName(const QString &column)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!name.match(column).hasMatch())
        throw DbError(QStringLiteral("列名が正しくありません: ") + column, QStringLiteral("1"));
}

QStringList firstColumn(Db &db, const QString &sql, const QVariantMap &params, bool trimmed)
{
    QStringList values;
    db.forEach(sql, params, [&](const QSqlQuery &q) {
        const QString v = q.isNull(0) ? QString() : q.value(0).toString();
        values << (trimmed ? OrderColumnValues::trimBlanks(v) : v);
    });
    return values;
}
} // namespace

QString OrderColumnValues::trimBlanks(const QString &value)
{
    qsizetype first = 0;
    qsizetype last = value.size();
    while (first < last && value.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && value.at(last - 1) == QLatin1Char(' '))
        --last;
    return value.mid(first, last - first);
}

QStringList OrderColumnValues::distinct(Db &db, const QString &column, const QString &where,
                                        const QVariantMap &params, bool trimmed)
{
    requirePlainName(column);
    // The control numbers of a factory in number order (AB-999, AB-1000).
    const QString order = column.compare(QLatin1String("KNR_NO"), Qt::CaseInsensitive) == 0
                              ? controlNumberOrder(column)
                              : column;
    const QString sql = QStringLiteral("Select ") + column +
                        QStringLiteral(" From TBL_ORDER Where ") + where +
                        QStringLiteral(" Group By ") + column + QStringLiteral(" Order By ") +
                        order + QLatin1Char(' ');
    return firstColumn(db, sql, params, trimmed);
}

QStringList OrderColumnValues::ofImportDate(Db &db, const QString &column, const QString &impDate)
{
    return distinct(db, column, QStringLiteral("IMP_DATE = :d"), {{QStringLiteral("d"), impDate}},
                    true);
}

QStringList OrderColumnValues::ofConfirmed(Db &db, const QString &column)
{
    return distinct(db, column, OrderState::confirmed(), {}, false);
}

QStringList OrderColumnValues::nameTypes(Db &db)
{
    return firstColumn(db, QStringLiteral("Select CAR_CD From MST_CAR Order By CAR_CD "), {}, true);
}
