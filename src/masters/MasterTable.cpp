#include "MasterTable.h"

#include "Db.h"
#include "Progress.h"
#include "RunLock.h"

#include <QSqlRecord>

MasterValues MasterTable::load(const QString &key)
{
    const QList<QSqlRecord> rows =
        m_db.rows(QStringLiteral("Select * From ") + table() + QStringLiteral(" Where ") +
                      keyColumn() + QStringLiteral(" = :key"),
                  {{QStringLiteral("key"), key}});
    MasterValues values;
    if (rows.isEmpty())
        return values;
    const QSqlRecord &row = rows.first();
    for (const QString &column : columns()) {
        const int field = row.indexOf(column); // case-insensitive: PostgreSQL folds names
        values.insert(column, field < 0 ? QString() : displayText(column, row.value(field)));
    }
    return values;
}

bool MasterTable::exists(const QString &key)
{
    return m_db.exists(QStringLiteral("Select * From ") + table() + QStringLiteral(" Where ") +
                           keyColumn() + QStringLiteral(" = :key"),
                       {{QStringLiteral("key"), key}});
}

QString MasterTable::saveRefusal(int mode, const QString &typedKey, const QString &openedKey)
{
    const QString key = trimBlanks(typedKey);
    if (key.isEmpty())
        return missingKeyMessage();
    if (const QString refusal = keyRefusal(key); !refusal.isEmpty())
        return refusal;
    const bool keyMustBeFree = mode != ModeEdit || key != openedKey;
    if (keyMustBeFree && exists(key))
        return alreadyRegisteredMessage();
    return {};
}

void MasterTable::save(int mode, const QString &openedKey, const MasterValues &values)
{
    MasterValues row = values;
    const QString key = trimBlanks(values.value(keyColumn()));
    row.insert(keyColumn(), key);
    RunLock conversion(m_db, RunLock::Kind::Conversion);
    conversion.acquire(m_progress);
    Transaction transaction(m_db);
    // Only an edited record is replaced. A new record, a copy or a moved record takes a key
    // that was free at the check; should another workstation have taken it meanwhile, the
    // key refuses the insert instead of its record being overwritten.
    if (mode == ModeEdit)
        deleteKey(openedKey);
    insert(row);
    transaction.commit();
}

void MasterTable::remove(const QString &key)
{
    RunLock conversion(m_db, RunLock::Kind::Conversion);
    conversion.acquire(m_progress);
    deleteKey(key);
}

void MasterTable::deleteKey(const QString &key)
{
    m_db.exec(QStringLiteral("Delete From ") + table() + QStringLiteral(" Where ") + keyColumn() +
                  QStringLiteral(" = :key"),
              {{QStringLiteral("key"), key}});
}

void MasterTable::insert(const MasterValues &values)
{
    const QStringList names = columns();
    QStringList placeholders;
    QVariantMap params;
    for (const QString &column : names) {
        placeholders << QLatin1Char(':') + column;
        params.insert(column, bindValue(column, values.value(column)));
    }
    m_db.exec(QStringLiteral("Insert Into ") + table() + QLatin1Char('(') +
                  names.join(QLatin1Char(',')) + QStringLiteral(") Values(") +
                  placeholders.join(QLatin1Char(',')) + QLatin1Char(')'),
              params);
}

QVariant MasterTable::bindValue(const QString &, const QString &text) const
{
    // A null QString is bound as NULL; an empty input is stored as '' like every text column.
    return text.isNull() ? QStringLiteral("") : text;
}

QString MasterTable::displayText(const QString &, const QVariant &value) const
{
    return value.isNull() ? QString() : value.toString();
}

QString MasterTable::alreadyRegisteredMessage()
{
    return QStringLiteral("既に登録されています。");
}

QString MasterTable::trimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}
