#include "SizeRowModel.h"

#include "Clock.h"
#include "Db.h"
#include "MasterTable.h"
#include "Progress.h"
#include "Session.h"

#include <QBrush>
#include <QColor>

Db &SizeRowModel::connection() const
{
    if (!m_session.db())
        throw DbError(QStringLiteral("データベースに接続されていません。"), QStringLiteral("3704"));
    return *m_session.db();
}

SizeRowModel::SizeRowModel(Session &session, QObject *parent)
    : PagedQueryModel(parent), m_session(session)
{
}

QString SizeRowModel::shown(int row, const QString &field) const
{
    const QVariant v = fieldValue(row, field);
    return v.isNull() ? QString() : v.toString();
}

SizeRows::Pair SizeRowModel::shownPair(int row) const
{
    return {shown(row, rowField()), shown(row, sizeKbnField())};
}

bool SizeRowModel::isKeyColumn(int column) const
{
    const QString field = columns().value(column).field;
    return field == rowField() || field == sizeKbnField();
}

bool SizeRowModel::isCellEditable(int, int column) const
{
    return isKeyColumn(column);
}

bool SizeRowModel::isUntouchedNewRow(int row) const
{
    return m_pending && m_pending->row == row && !m_pending->stored && !m_pending->touched;
}

int SizeRowModel::addRow()
{
    QVariantList values;
    for (int i = 0; i < fieldNames().size(); ++i)
        values << QString();
    const int row = appendLocalRow(values);
    m_pending = Pending{row, std::nullopt, false};
    return row;
}

bool SizeRowModel::writeCell(int row, int column, const QVariant &value)
{
    if (!isKeyColumn(column))
        return false;
    const QString typed = value.toString();
    if (MasterTable::trimBlanks(typed).isEmpty()) {
        emit keyRefused(SizeRows::blankKeyMessage());
        return false;
    }
    if (typed == shown(row, columns().at(column).field))
        return false; // nothing changed: no stamp, nothing to write
    if (m_pending && m_pending->row != row && !commitPending())
        return false;
    if (!m_pending)
        m_pending = Pending{row, shownPair(row), false};
    m_pending->touched = true;
    setCachedValue(row, fieldIndex(userField()), m_session.userName());
    setCachedValue(row, fieldIndex(stampField()), Clock::stamp());
    return true;
}

bool SizeRowModel::commitPending()
{
    if (!m_pending)
        return true;
    const int row = m_pending->row;
    if (isUntouchedNewRow(row)) {
        m_pending.reset();
        dropRow(row); // an added line left empty is no record
        return true;
    }
    QString refusal;
    try {
        refusal = SizeRows(connection(), &appProgress())
                      .save(m_pending->stored, shownPair(row), shown(row, userField()),
                            shown(row, stampField()));
    } catch (const DbError &error) {
        emit dataError(error.text());
        return false;
    }
    if (refusal == SizeRows::blankKeyMessage()) {
        emit keyRefused(refusal);
        return false;
    }
    if (!refusal.isEmpty()) {
        emit dataError(refusal);
        return false;
    }
    m_pending.reset();
    return true;
}

bool SizeRowModel::deleteRow(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    const bool pendingHere = m_pending && m_pending->row == row;
    const std::optional<SizeRows::Pair> stored =
        pendingHere ? m_pending->stored : std::optional(shownPair(row));
    if (stored)
        SizeRows(connection(), &appProgress()).remove(*stored);
    if (pendingHere)
        m_pending.reset();
    else if (m_pending && m_pending->row > row)
        --m_pending->row;
    dropRow(row);
    return true;
}

QVariant SizeRowModel::data(const QModelIndex &index, int role) const
{
    // The stamp pane is shown apart from the key pane: it is not for typing into.
    if (role == Qt::BackgroundRole && index.isValid() && !isKeyColumn(index.column()))
        return QBrush(QColor(0xee, 0xf1, 0xf5));
    return PagedQueryModel::data(index, role);
}
