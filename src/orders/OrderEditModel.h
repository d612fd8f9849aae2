// The model of the order edit grid: the order lines of the current condition, read a page at a
// time like every grid, with its unlocked cells editable.
//
// Edits are kept for the line being edited and written together when the operator leaves the
// line (writePendingRow), as one UPDATE that only touches the line while it still holds every
// value the screen read. When another workstation changed or deleted the line first, nothing
// is overwritten: the model shows the line as it is now (or drops it) and reports
// OrderLineStore::conflictText() through writeFailed.
//
// A value typed into a number column (数量, ロット数, ...) must be a whole number (full-width
// digits count); anything else is refused with a message and the cell keeps its value. Text
// goes in as typed. The エラー cell of a line with findings names them in its tool tip.
#pragma once

#include "OrderLineStore.h"
#include "PagedQueryModel.h"

#include <QMap>

#include <functional>

class OrderEditModel : public PagedQueryModel {
    Q_OBJECT
public:
    // The connection edits are written on (the shared connection of the desk).
    using ConnectionProvider = std::function<Db *()>;

    explicit OrderEditModel(ConnectionProvider connection, QObject *parent = nullptr);

    // Every cell is edited as text, numbers included, so that what the operator types reaches
    // setData and a non-number gets its message instead of being swallowed by a number editor.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    bool hasPendingEdits() const { return !m_pending.isEmpty(); }
    // The line with edits not yet written, -1 when there is none.
    int pendingRow() const { return m_pending.isEmpty() ? -1 : m_pendingRow; }
    // Writes the edits of the pending line. true when written or when nothing was pending;
    // false after a conflict or a database error (reported through writeFailed).
    bool writePendingRow();
    // Forgets the edits of the pending line; its cells show what was read again.
    void discardPendingEdits();

    // Deletes the line when it still holds what the screen read; throws DbError with the
    // conflict text (after showing the line as it is now) when it does not.
    bool deleteRow(int row) override;

    // The message for a value that is not a whole number in a number column.
    static QString notANumberText(const QString &caption);
    // The message when a line changed elsewhere could not be read again (reason: the
    // database's text); the grid then shows the values it read.
    static QString reloadFailedText(const QString &reason);

protected:
    bool isCellEditable(int row, int column) const override;
    bool writeCell(int row, int column, const QVariant &value) override;

private:
    struct PendingCell {
        QVariant read;
        QVariant typed;
    };

    Db &connection() const;
    // Every grid column of the line with the value the screen read (before pending edits).
    QList<OrderLineValue> readValues(int row) const;
    QList<OrderLineValue> pendingChanges() const;
    // The findings of a line, one a line (the tool tip of its エラー cell).
    QVariant findingsText(int row) const;
    void restoreReadValues();
    // Shows the line as the database holds it now; drops it when it is gone.
    void refreshLine(int row);
    void forgetPending();

    ConnectionProvider m_connection;
    int m_pendingRow = -1;
    QMap<int, PendingCell> m_pending; // by grid column
};
