#include "GridView.h"

#include "GridCellDelegate.h"
#include "PagedQueryModel.h"

#include <QHeaderView>

namespace {
constexpr int kRecordSelectorWidth = 14;
}

GridView::GridView(QWidget *parent) : QTableView(parent), m_delegate(new GridCellDelegate(this))
{
    setObjectName(QStringLiteral("gridView"));
    setItemDelegate(m_delegate);
    setWordWrap(false);
    setAlternatingRowColors(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::EditKeyPressed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setHighlightSections(false);
    // Narrow columns ("行" is 20 pixels) keep their designed width.
    horizontalHeader()->setMinimumSectionSize(4);
    verticalHeader()->setMinimumWidth(kRecordSelectorWidth);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
}

void GridView::setGridModel(PagedQueryModel *model)
{
    m_model = model;
    setModel(model);
    // The header forgets its section sizes when the model resets; the layout follows it.
    connect(model, &QAbstractItemModel::modelReset, this, &GridView::applyColumnLayout);
    applyColumnLayout();
}

void GridView::applyColumnLayout()
{
    if (!m_model)
        return;
    const QList<GridColumn> &columns = m_model->columns();
    const QFontMetrics header = horizontalHeader()->fontMetrics();
    for (int c = 0; c < columns.size(); ++c) {
        setColumnHidden(c, !columns[c].visible);
        if (!columns[c].visible)
            continue;
        // The designed widths were meant for a smaller screen font: never cut the heading.
        const int heading = header.horizontalAdvance(columns[c].caption) + 10;
        setColumnWidth(c, qMax(columns[c].widthPixels(), heading));
    }
}

int GridView::currentRowIndex() const
{
    if (!m_model || m_model->rowCount() == 0)
        return -1;
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

QString GridView::columnText(int column) const
{
    const int row = currentRowIndex();
    if (row < 0)
        return {};
    return m_model->text(row, column);
}

QString GridView::columnText(const QString &field) const
{
    if (!m_model)
        return {};
    const int column = m_model->columnOfField(field);
    return column < 0 ? QString() : columnText(column);
}

QString GridView::cellText(int row, const QString &field) const
{
    if (!m_model)
        return {};
    const int column = m_model->columnOfField(field);
    return column < 0 ? QString() : m_model->text(row, column);
}
