// The grid of the grid screens (their gridView): a table over a PagedQueryModel in the screen's
// columns (widths in twips, hidden key columns), record selectors on the left, headings on
// top, columns that cannot be moved, scroll bars only when needed.
//
// Key columns can be frozen: they are shown first and stay in place while the grid scrolls
// right. A second table (frozenView) over the same model and selection lies over them and
// scrolls up and down with the grid; a cell of a frozen column is edited there.
#pragma once

#include <QStringList>
#include <QTableView>

class FrozenColumnsView;
class GridCellDelegate;
class PagedQueryModel;

class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget *parent = nullptr);

    void setGridModel(PagedQueryModel *model);
    PagedQueryModel *gridModel() const { return m_model; }
    GridCellDelegate *cellDelegate() const { return m_delegate; }

    // Widths and visibility from the model's columns (again after every fill).
    void applyColumnLayout();

    // The current row, -1 when the grid has none.
    int currentRowIndex() const;
    // Text of a column in the current row; "" when the grid has no current row.
    QString columnText(int column) const;
    QString columnText(const QString &field) const;
    // Text of a column (addressed by its field) in any row.
    QString cellText(int row, const QString &field) const;
    // A cell is being edited, in the grid or in its frozen columns.
    bool isEditing() const;

    // The columns (by field) that stay in view while scrolling right, in this order.
    void setFrozenFields(const QStringList &fields);
    QTableView *frozenView() const;

    using QTableView::edit;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void resizeEvent(QResizeEvent *event) override;
    void updateGeometries() override;

private:
    bool isFrozen(int column) const;
    int frozenWidth() const;
    void createFrozenView();
    void layOutFrozenColumns();
    void placeFrozenView();
    // Moves the view so that a cell of a scrolling column is not hidden under the frozen ones.
    void uncover(const QModelIndex &index);

    PagedQueryModel *m_model = nullptr;
    GridCellDelegate *m_delegate;
    QStringList m_frozenFields;
    FrozenColumnsView *m_frozen = nullptr;
};
