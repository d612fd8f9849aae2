#include "OrderEditModel.h"

#include "Db.h"

OrderEditModel::OrderEditModel(ConnectionProvider connection, QObject *parent)
    : PagedQueryModel(parent), m_connection(std::move(connection))
{
    // A refill reads the lines again: edits not written by then belong to lines no longer shown.
    connect(this, &QAbstractItemModel::modelAboutToBeReset, this, [this] { forgetPending(); });
}

QString OrderEditModel::notANumberText(const QString &caption)
{
    return QStringLiteral("「") + caption + QStringLiteral("」には整数を入力してください。");
}

Db &OrderEditModel::connection() const
{
    Db *db = m_connection ? m_connection() : nullptr;
    if (!db)
        throw DbError(QStringLiteral("データベースに接続されていません。"), QStringLiteral("3704"));
    return *db;
}

bool OrderEditModel::isCellEditable(int, int) const
{
    return true; // locked columns are refused by the base
}

QVariant OrderEditModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::EditRole && index.isValid())
        return text(index.row(), index.column());
    if (role == Qt::ToolTipRole && index.isValid() &&
        columns().at(index.column()).field == QLatin1String("FLG1"))
        return findingsText(index.row());
    return PagedQueryModel::data(index, role);
}

// The mark alone says only that something is wrong: the tool tip of the エラー cell names it.
QVariant OrderEditModel::findingsText(int row) const
{
    if (text(row, columnOfField(QStringLiteral("FLG1"))) == QLatin1String("0"))
        return {};
    try {
        OrderLineStore store(connection());
        const QStringList findings =
            store.findings(fieldValue(row, QStringLiteral("IMP_DATE")).toString(),
                           fieldValue(row, QStringLiteral("IMP_LN")));
        if (!findings.isEmpty())
            return findings.join(QLatin1Char('\n'));
    } catch (const DbError &) {
        // A tool tip cannot report a failure; the error list shows the findings.
    }
    return {};
}

bool OrderEditModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const GridColumn &column = columns().at(index.column());
    if (!OrderLineStore::isNumberColumn(column.field)) {
        // An emptied cell is the empty text of the desk's columns; a null QString would be
        // bound as NULL.
        const QString text = value.toString();
        return PagedQueryModel::setData(index, text.isNull() ? QStringLiteral("") : text, role);
    }
    const std::optional<int> number = OrderLineStore::parseNumber(value.toString());
    if (!number) {
        emit writeFailed(notANumberText(column.caption));
        return false;
    }
    return PagedQueryModel::setData(index, *number, role);
}

bool OrderEditModel::writeCell(int row, int column, const QVariant &value)
{
    if (!m_pending.isEmpty() && m_pendingRow != row) {
        // Another line still holds edits (the operator did not move through the grid): it is
        // written first. If that removed a line, the row numbers moved and this edit is dropped.
        const int rows = rowCount();
        writePendingRow();
        if (rowCount() != rows)
            return false;
    }
    auto it = m_pending.find(column);
    if (it == m_pending.end())
        m_pending.insert(column, PendingCell{this->value(row, column), value});
    else
        it->typed = value;
    m_pendingRow = row;
    return true;
}

QList<OrderLineValue> OrderEditModel::readValues(int row) const
{
    QList<OrderLineValue> read;
    const QList<GridColumn> &cols = columns();
    for (int c = 0; c < cols.size(); ++c) {
        if (fieldIndex(cols[c].field) < 0)
            continue; // a column the statement does not return cannot have changed
        const auto pending = m_pending.constFind(c);
        read.append({cols[c].field, pending != m_pending.constEnd() && row == m_pendingRow
                                        ? pending->read
                                        : value(row, c)});
    }
    // The marks of a conversion (in a run, converted) and of the confirmation are no columns
    // of the grid, but a line that another workstation converted or confirmed after the
    // screen read it is no longer the screen's to change, nor is one a running conversion
    // has taken (its print data is being made from what it holds), whenever it was read.
    for (const char *mark : {"FLG2", "FLG3", "FLG4"}) {
        const QString field = QLatin1String(mark);
        if (columnOfField(field) >= 0 || fieldIndex(field) < 0)
            continue;
        const bool inRun = field == QLatin1String("FLG2");
        read.append({field, inRun ? QVariant(QStringLiteral("0")) : fieldValue(row, field)});
    }
    return read;
}

QList<OrderLineValue> OrderEditModel::pendingChanges() const
{
    QList<OrderLineValue> changes;
    for (auto it = m_pending.constBegin(); it != m_pending.constEnd(); ++it)
        changes.append({columns().at(it.key()).field, it->typed});
    return changes;
}

void OrderEditModel::forgetPending()
{
    m_pending.clear();
    m_pendingRow = -1;
}

void OrderEditModel::restoreReadValues()
{
    const int row = m_pendingRow;
    const QMap<int, PendingCell> pending = m_pending;
    forgetPending();
    for (auto it = pending.constBegin(); it != pending.constEnd(); ++it)
        setCachedValue(row, fieldIndex(columns().at(it.key()).field), it->read);
}

void OrderEditModel::discardPendingEdits()
{
    if (!m_pending.isEmpty())
        restoreReadValues();
}

bool OrderEditModel::writePendingRow()
{
    if (m_pending.isEmpty()) {
        forgetPending();
        return true;
    }
    const int row = m_pendingRow;
    const QList<OrderLineValue> read = readValues(row);
    const QList<OrderLineValue> changes = pendingChanges();
    try {
        OrderLineStore store(connection());
        if (store.update(changes, read)) {
            forgetPending();
            return true;
        }
    } catch (const DbError &error) {
        if (!m_pending.isEmpty())
            restoreReadValues();
        emit writeFailed(error.text());
        return false;
    }
    // Changed elsewhere: the line as it is now replaces the edit. When it cannot be read, the
    // grid goes back to what it read rather than keep an edit that was never written.
    try {
        refreshLine(row);
        forgetPending();
        emit writeFailed(OrderLineStore::conflictText());
    } catch (const DbError &error) {
        if (!m_pending.isEmpty())
            restoreReadValues();
        emit writeFailed(reloadFailedText(error.text()));
    }
    return false;
}

QString OrderEditModel::reloadFailedText(const QString &reason)
{
    return QStringLiteral("他の端末でこの行が変更されています。") + QLatin1String("\r\n") +
           QStringLiteral("最新の内容を読み込めないため、読み込んだ時点の内容を表示します。") +
           QLatin1String("\r\n") + reason;
}

void OrderEditModel::refreshLine(int row)
{
    OrderLineStore store(connection());
    const std::optional<QVariantMap> now =
        store.reload(fieldValue(row, QStringLiteral("IMP_DATE")).toString(),
                     fieldValue(row, QStringLiteral("IMP_LN")));
    if (!now) {
        dropRow(row);
        return;
    }
    for (auto it = now->constBegin(); it != now->constEnd(); ++it)
        setCachedValue(row, fieldIndex(it.key()), it.value());
}

bool OrderEditModel::deleteRow(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    if (!m_pending.isEmpty() && m_pendingRow != row) {
        const int rows = rowCount();
        writePendingRow();
        if (rowCount() != rows)
            return false;
    }
    const QList<OrderLineValue> read = readValues(row);
    discardPendingEdits(); // the line goes; its unwritten edits go with it
    OrderLineStore store(connection());
    if (store.remove(read)) {
        dropRow(row);
        return true;
    }
    refreshLine(row);
    throw DbError(OrderLineStore::conflictText(), QStringLiteral("0"));
}
