#include "OrderLineStore.h"

#include "AuditTrail.h"
#include "Db.h"
#include "HistoryWrite.h"

#include <QRegularExpression>
#include <QSqlRecord>

#include <limits>

namespace {
// Column names come from the screen's own column list; anything else is refused rather than
// pasted into a statement.
const QString &plainName(const QString &column)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!name.match(column).hasMatch())
        throw DbError(QStringLiteral("列名が正しくありません: ") + column, QStringLiteral("1"));
    return column;
}

bool hasKey(const QList<OrderLineValue> &read)
{
    bool date = false;
    bool line = false;
    for (const OrderLineValue &v : read) {
        date = date || v.column.compare(QLatin1String("IMP_DATE"), Qt::CaseInsensitive) == 0;
        line = line || v.column.compare(QLatin1String("IMP_LN"), Qt::CaseInsensitive) == 0;
    }
    return date && line;
}

const OrderLineValue *find(const QList<OrderLineValue> &values, const char *column)
{
    for (const OrderLineValue &v : values)
        if (v.column.compare(QLatin1String(column), Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

QVariantMap valuesOf(const QList<OrderLineValue> &values)
{
    QVariantMap map;
    for (const OrderLineValue &v : values)
        map.insert(v.column, v.value);
    return map;
}
} // namespace

QString OrderLineStore::conflictText()
{
    return QStringLiteral("他の端末でこの行が変更されています。最新の内容を表示します。");
}

bool OrderLineStore::isNumberColumn(const QString &column)
{
    static const QStringList numbers = {QStringLiteral("IMP_LN"),   QStringLiteral("SU"),
                                        QStringLiteral("LOT_SU"),   QStringLiteral("LOT_AVG"),
                                        QStringLiteral("SPARE_SU"), QStringLiteral("YARE_SU")};
    return numbers.contains(column.toUpper());
}

std::optional<int> OrderLineStore::parseNumber(const QString &text)
{
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]+$"));
    // Digits typed with the input method on are full-width (０-９, U+FF10-U+FF19), and so are
    // its signs and blank; they mean the same number.
    QString t = text.trimmed();
    for (QChar &c : t) {
        if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)
            c = QChar(u'0' + (c.unicode() - 0xFF10));
        else if (c == QChar(0xFF0D) || c == QChar(0x2212))
            c = QLatin1Char('-');
        else if (c == QChar(0xFF0B))
            c = QLatin1Char('+');
    }
    if (!whole.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    if (!ok || n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(n);
}

QString OrderLineStore::unchangedCondition(const QList<OrderLineValue> &read, QVariantMap &params)
{
    // Without the line key the condition could match other lines.
    if (!hasKey(read))
        throw DbError(QStringLiteral("行を特定できません。"), QStringLiteral("1"));
    QStringList terms;
    for (int i = 0; i < read.size(); ++i) {
        const QString name = QStringLiteral("w%1").arg(i);
        terms << plainName(read[i].column) + QStringLiteral(" = :") + name;
        params.insert(name, read[i].value);
    }
    return terms.join(QStringLiteral(" AND "));
}

// The data kind of a line follows its printer: a printer MST_PRINTER does not know leaves it
// unknown (''), which the conversion refuses rather than stamping a line no file takes. The
// kind the line holds now joins what was read, so that the trail sees what really changes.
void OrderLineStore::addDataKind(QList<OrderLineValue> &changes, QList<OrderLineValue> &read)
{
    const OrderLineValue *printer = find(changes, "PRINTER");
    if (!printer || find(changes, "DATA_FLG"))
        return;
    const QVariant kind =
        m_db.scalar(QStringLiteral("SELECT DATA_FLG FROM MST_PRINTER WHERE PRINTER = :p"),
                    {{QStringLiteral("p"), printer->value.toString()}});
    // An empty text, not a null one: a null would be bound as NULL.
    changes.append(
        {QStringLiteral("DATA_FLG"), kind.isValid() ? kind.toString() : QStringLiteral("")});
    if (find(read, "DATA_FLG"))
        return;
    const QVariantMap key = valuesOf(read);
    QVariant impDate;
    QVariant impLn;
    for (auto it = key.constBegin(); it != key.constEnd(); ++it) {
        if (it.key().compare(QLatin1String("IMP_DATE"), Qt::CaseInsensitive) == 0)
            impDate = it.value();
        else if (it.key().compare(QLatin1String("IMP_LN"), Qt::CaseInsensitive) == 0)
            impLn = it.value();
    }
    read.append({QStringLiteral("DATA_FLG"),
                 m_db.scalar(QStringLiteral("SELECT DATA_FLG FROM TBL_ORDER WHERE IMP_DATE = :d "
                                            "AND IMP_LN = :ln"),
                             {{QStringLiteral("d"), impDate}, {QStringLiteral("ln"), impLn}})});
}

bool OrderLineStore::update(const QList<OrderLineValue> &edited, const QList<OrderLineValue> &read)
{
    if (edited.isEmpty())
        return true;
    // The audit entries go with the change; a line changed meanwhile takes them back with the
    // rollback. Entries first, like every change of the lines, so that two workstations take
    // the trail's lock and the lines' locks in the same order.
    Transaction tx(m_db);
    QList<OrderLineValue> changes = edited;
    QList<OrderLineValue> seen = read;
    addDataKind(changes, seen);
    QVariantMap params;
    QStringList assignments;
    for (int i = 0; i < changes.size(); ++i) {
        const QString name = QStringLiteral("v%1").arg(i);
        assignments << plainName(changes[i].column) + QStringLiteral(" = :") + name;
        params.insert(name, changes[i].value);
    }
    const QString where = unchangedCondition(read, params);
    HistoryWrite history(m_db);
    AuditTrail(history, AuditTrail::kEdit).lineChanged(valuesOf(seen), valuesOf(changes));
    if (m_db.exec(QStringLiteral("UPDATE TBL_ORDER SET ") + assignments.join(QStringLiteral(", ")) +
                      QStringLiteral(" WHERE ") + where,
                  params) == 0)
        return false;
    tx.commit();
    return true;
}

bool OrderLineStore::remove(const QList<OrderLineValue> &read)
{
    QVariantMap params;
    const QString where = unchangedCondition(read, params);
    Transaction tx(m_db);
    HistoryWrite history(m_db);
    AuditTrail(history, AuditTrail::kDelete).beforeDelete(valuesOf(read));
    if (m_db.exec(QStringLiteral("DELETE FROM TBL_ORDER WHERE ") + where, params) == 0)
        return false; // changed meanwhile: its entry goes with the rollback
    tx.commit();
    return true;
}

std::optional<QVariantMap> OrderLineStore::reload(const QString &impDate, const QVariant &impLn)
{
    const QList<QSqlRecord> rows =
        m_db.rows(QStringLiteral("SELECT * FROM TBL_ORDER WHERE IMP_DATE = :d AND IMP_LN = :ln"),
                  {{QStringLiteral("d"), impDate}, {QStringLiteral("ln"), impLn}});
    if (rows.isEmpty())
        return std::nullopt;
    QVariantMap line;
    for (int i = 0; i < rows[0].count(); ++i)
        line.insert(rows[0].fieldName(i), rows[0].value(i));
    return line;
}

QStringList OrderLineStore::findings(const QString &impDate, const QVariant &impLn)
{
    QStringList texts;
    for (const QSqlRecord &row :
         m_db.rows(QStringLiteral("SELECT ERR2, ERR3 FROM TBL_ERR WHERE IMP_DATE = :d AND "
                                  "IMP_LN = :ln ORDER BY ERR_LN"),
                   {{QStringLiteral("d"), impDate}, {QStringLiteral("ln"), impLn}})) {
        const QString keys = row.value(1).toString();
        texts << (keys.isEmpty() ? row.value(0).toString()
                                 : row.value(0).toString() + QStringLiteral("（") + keys +
                                       QStringLiteral("）"));
    }
    return texts;
}
