// The rows of the size-row grid, edited in place. A changed line is written when the operator
// leaves it (commitPending): an update of the pair it had, or an insert for a line added with
// addRow. Key cells may not be left blank; each accepted change stamps 担当者 and 更新日.
#pragma once

#include "PagedQueryModel.h"
#include "SizeRows.h"

#include <optional>

class Session;

class SizeRowModel : public PagedQueryModel {
    Q_OBJECT
public:
    // Result fields of the screen's statement (its aliases).
    static QString rowField() { return QStringLiteral("ROW"); }
    static QString sizeKbnField() { return QStringLiteral("サイズ区分"); }
    static QString userField() { return QStringLiteral("担当者"); }
    static QString stampField() { return QStringLiteral("更新日"); }

    explicit SizeRowModel(Session &session, QObject *parent = nullptr);

    // Adds an empty line at the end for the operator to fill in; returns its row.
    int addRow();
    // Writes the changed line, if there is one. false when it was refused (keyRefused or
    // dataError has been sent); the line keeps what the operator typed.
    bool commitPending();
    // The row of the line changed and not yet written, -1 when there is none.
    int pendingRow() const { return m_pending ? m_pending->row : -1; }
    // A line added with addRow and not typed into.
    bool isUntouchedNewRow(int row) const;

    // Deletes the line from the table (a new line not yet written only from the grid).
    // Throws DbError when the database refuses.
    bool deleteRow(int row) override;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

signals:
    // A key cell left blank.
    void keyRefused(const QString &text);
    // The database (or the key check) refused the line.
    void dataError(const QString &text);

protected:
    bool isCellEditable(int row, int column) const override;
    bool writeCell(int row, int column, const QVariant &value) override;

private:
    struct Pending {
        int row = -1;
        // The pair as it is in the table; std::nullopt for a line not yet written.
        std::optional<SizeRows::Pair> stored;
        bool touched = false;
    };

    SizeRows::Pair shownPair(int row) const;
    QString shown(int row, const QString &field) const;
    bool isKeyColumn(int column) const;
    Db &connection() const;

    Session &m_session;

    std::optional<Pending> m_pending;
};
