#include "GridView.h"

#include "GridCellDelegate.h"
#include "PagedQueryModel.h"

#include <QHeaderView>
#include <QScrollBar>

namespace {
constexpr int kRecordSelectorWidth = 14;
}

// The table over the frozen columns; edits of its cells start here rather than under it.
class FrozenColumnsView : public QTableView {
public:
    using QTableView::QTableView;
    bool startEdit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
    {
        return QTableView::edit(index, trigger, event);
    }
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }
};

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
    if (m_frozen) {
        m_frozen->setModel(model);
        m_frozen->setSelectionModel(selectionModel());
    }
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
    layOutFrozenColumns();
}

bool GridView::isEditing() const
{
    return state() == QAbstractItemView::EditingState || (m_frozen && m_frozen->isEditing());
}

QTableView *GridView::frozenView() const
{
    return m_frozen;
}

void GridView::setFrozenFields(const QStringList &fields)
{
    m_frozenFields = fields;
    if (!m_frozen && !fields.isEmpty())
        createFrozenView();
    layOutFrozenColumns();
}

void GridView::createFrozenView()
{
    m_frozen = new FrozenColumnsView(this);
    m_frozen->setObjectName(QStringLiteral("frozenView"));
    m_frozen->setItemDelegate(m_delegate);
    m_frozen->setWordWrap(false);
    m_frozen->setSelectionMode(selectionMode());
    m_frozen->setSelectionBehavior(selectionBehavior());
    m_frozen->setEditTriggers(editTriggers());
    m_frozen->verticalHeader()->hide();
    m_frozen->horizontalHeader()->setSectionsMovable(false);
    m_frozen->horizontalHeader()->setHighlightSections(false);
    m_frozen->horizontalHeader()->setMinimumSectionSize(4);
    m_frozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollMode(verticalScrollMode());
    m_frozen->setFocusPolicy(Qt::NoFocus); // the keys go to the grid
    m_frozen->setFrameShape(QFrame::NoFrame);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    if (m_model) {
        m_frozen->setModel(m_model);
        m_frozen->setSelectionModel(selectionModel());
    }
    // Both scroll together; rows keep one height.
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozen->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(m_frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalHeader(), &QHeaderView::sectionResized, m_frozen,
            [this](int row, int, int size) { m_frozen->setRowHeight(row, size); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (isFrozen(column)) {
                    m_frozen->setColumnWidth(column, size);
                    placeFrozenView();
                }
            });
    // The frozen headings are the grid's: a click on one is a click on the grid's heading.
    QHeaderView *frozenHeader = m_frozen->horizontalHeader();
    frozenHeader->setSectionsClickable(true);
    connect(frozenHeader, &QHeaderView::sectionClicked, horizontalHeader(),
            &QHeaderView::sectionClicked);
    connect(horizontalHeader(), &QHeaderView::sortIndicatorChanged, frozenHeader,
            [this, frozenHeader](int column, Qt::SortOrder order) {
                frozenHeader->setSortIndicatorShown(horizontalHeader()->isSortIndicatorShown());
                frozenHeader->setSortIndicator(column, order);
            });
    // An edit in the frozen columns ends with the keys back on the grid.
    connect(m_delegate, &QAbstractItemDelegate::closeEditor, this, [this](QWidget *editor) {
        if (m_frozen->isAncestorOf(editor))
            setFocus();
    });
    viewport()->stackUnder(m_frozen);
    m_frozen->show();
}

bool GridView::isFrozen(int column) const
{
    return m_model && column >= 0 && column < m_model->columns().size() &&
           m_frozenFields.contains(m_model->columns().at(column).field);
}

int GridView::frozenWidth() const
{
    int width = 0;
    if (!m_frozen || !m_model)
        return 0;
    for (int c = 0; c < m_model->columns().size(); ++c)
        if (isFrozen(c) && !isColumnHidden(c))
            width += columnWidth(c);
    return width;
}

// The frozen columns come first in the grid (the overlay covers them) and are the only ones
// the overlay shows. The header forgets the order with every fill, so it is laid out again.
void GridView::layOutFrozenColumns()
{
    if (!m_frozen || !m_model)
        return;
    QHeaderView *header = horizontalHeader();
    int position = 0;
    for (const QString &field : m_frozenFields) {
        const int column = m_model->columnOfField(field);
        if (column < 0)
            continue;
        header->moveSection(header->visualIndex(column), position);
        m_frozen->horizontalHeader()->moveSection(m_frozen->horizontalHeader()->visualIndex(column),
                                                  position);
        ++position;
    }
    m_frozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const bool shown = isFrozen(c) && !isColumnHidden(c);
        m_frozen->setColumnHidden(c, !shown);
        if (shown)
            m_frozen->setColumnWidth(c, columnWidth(c));
    }
    placeFrozenView();
}

void GridView::placeFrozenView()
{
    if (!m_frozen)
        return;
    m_frozen->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), frozenWidth(),
                          viewport()->height() + horizontalHeader()->height());
}

bool GridView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (m_frozen && index.isValid() && isFrozen(index.column()))
        return m_frozen->startEdit(index, trigger, event);
    return QTableView::edit(index, trigger, event);
}

QModelIndex GridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    uncover(current);
    return current;
}

void GridView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    // A frozen cell is always in view across: only the rows scroll to it.
    const int across = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (m_frozen && index.isValid() && isFrozen(index.column()))
        horizontalScrollBar()->setValue(across);
    uncover(index);
}

void GridView::uncover(const QModelIndex &index)
{
    if (!m_frozen || !index.isValid() || isFrozen(index.column()))
        return;
    const int left = visualRect(index).left();
    const int covered = frozenWidth();
    if (left < covered)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + left - covered);
}

void GridView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    placeFrozenView();
}

void GridView::updateGeometries()
{
    QTableView::updateGeometries();
    placeFrozenView();
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
