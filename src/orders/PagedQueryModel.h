// The model behind every grid screen: the rows of one SELECT shown in the screen's own
// columns, read a page at a time as the grid scrolls to them, on a connection of its own
// (see GridRowSource). Only a bounded number of pages stays in memory; a page dropped from
// memory is read again when the grid comes back to it.
//
// Read-only as it stands. Editable grids derive from it: they decide which cells can be edited
// (isCellEditable), write a change themselves and keep it visible with setCachedValue, remove
// a deleted line with dropRow and show an added one with appendLocalRow.
#pragma once

#include "Db.h"
#include "GridColumn.h"
#include "GridRowSource.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>
#include <limits>
#include <memory>

class PagedQueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PagedQueryModel(QObject *parent = nullptr);
    ~PagedQueryModel() override;

    // The screen's columns, in order. Without columns the model shows every field of the result
    // under its own name.
    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }
    // The column showing field (case-insensitive), -1 when there is none.
    int columnOfField(const QString &field) const;

    // Runs sql on the model's own connection to the database described by settings. On failure
    // the model is left empty (with its columns) and the DbError is thrown.
    void setQuery(const ConnectionSettings &settings, const QString &sql,
                  const QVariantMap &params = {});
    QString query() const { return m_sql; }
    // No rows, columns kept (a failed fill, a screen before its first fill).
    void clear();

    // Rows of the result, in the model's row numbering.
    qint64 totalRows() const;
    QStringList fieldNames() const { return m_fields; }
    // The result field of that name (case-insensitive: PostgreSQL folds unquoted names), -1 if
    // the SELECT does not return it.
    int fieldIndex(const QString &field) const;
    QVariant fieldValue(int row, const QString &field) const;
    QVariant value(int row, int column) const;
    // What the grid shows in a cell: "" for NULL, numbers in the column's format.
    QString text(int row, int column) const;

    // Colour of a whole row (the order edit screen marks lines with an error). Called for each
    // row drawn; an invalid QColor keeps the grid's default.
    using RowColourHook = std::function<QColor(int row)>;
    void setRowColourHook(RowColourHook hook) { m_rowColour = std::move(hook); }

    // Rows per page (read at once) and the number of cells kept in memory.
    void setPageSize(int rows);
    int pageSize() const { return m_pageSize; }
    void setCacheLimit(qint64 cells) { m_cacheLimitCells = cells; }
    // Pages read from the database since the last fill (the first page included).
    int pagesFetched() const { return m_pagesFetched; }
    qint64 cachedRows() const;
    // true once the model holds no open statement (every row read, or an empty model).
    bool isSourceReleased() const { return !m_source || m_source->isReleased(); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // An edited cell: written through writeCell, then shown with its new value.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Deletes a line from the database and from the grid (the delete key of a screen). The
    // read-only model deletes nothing and answers false; editable models override it and
    // throw DbError when the database refuses.
    virtual bool deleteRow(int row);

signals:
    // Reading a later page failed (the connection was lost): the database's text. Sent once,
    // after the paint that hit it; the model shows no further rows until the next fill.
    void fetchFailed(const QString &text);
    // writeCell threw: the database's (or the model's own) text; the cell keeps its old value.
    void writeFailed(const QString &text);

protected:
    // Editable grids answer true for the cells the operator may change; locked columns never.
    virtual bool isCellEditable(int row, int column) const;
    // Writes an edited cell to the database (editable models, with their own optimistic
    // check). false refuses silently, a DbError is reported through writeFailed; either way
    // the cell keeps its old value. The read-only model writes nothing.
    virtual bool writeCell(int row, int column, const QVariant &value);

    // All fields of a row, in result order (appended rows included).
    QVariantList rowValues(int row) const;
    // Keeps a written value visible, also after its page has been dropped from memory.
    void setCachedValue(int row, int field, const QVariant &value);
    // Removes a line the subclass has deleted from the database.
    void dropRow(int row);
    // Shows a line the subclass has added (values in result-field order); returns its row.
    int appendLocalRow(const QVariantList &values);

private:
    struct Page {
        QList<QVariantList> rows;
        quint64 lastUse = 0;
    };

    void resetState();
    void mapColumns();
    // Row of the result behind a model row (-1 for an appended row).
    qint64 sourceRow(int row) const;
    const QVariantList *cachedSourceRow(qint64 sourceRow) const;
    void loadPage(qint64 page) const;
    void evictPages() const;
    void releaseWhenComplete() const;
    void reportFailure(const QString &text) const;
    QVariant sourceValue(int row, int field) const;

    QList<GridColumn> m_columns;
    QList<int> m_fieldOfColumn;
    QStringList m_fields;
    QString m_sql;
    std::unique_ptr<Db> m_connection;
    std::unique_ptr<GridRowSource> m_source;
    qint64 m_sourceRows = 0;
    QList<qint64> m_dropped; // sorted result rows removed from view
    QList<QVariantList> m_appended;
    QHash<qint64, QHash<int, QVariant>> m_edits;
    RowColourHook m_rowColour;
    int m_pageSize = 256;
    qint64 m_cacheLimitCells = 500000;

    mutable QHash<qint64, Page> m_pages;
    mutable quint64 m_useCounter = 0;
    mutable int m_pagesFetched = 0;
    mutable bool m_broken = false;
};
