// The grid of the grid screens (their gridView): a table over a PagedQueryModel in the screen's
// columns (widths in twips, hidden key columns), record selectors on the left, headings on
// top, columns that cannot be moved, scroll bars only when needed.
#pragma once

#include <QTableView>

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
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }

private:
    PagedQueryModel *m_model = nullptr;
    GridCellDelegate *m_delegate;
};
