#include "SizeRowScreen.h"

#include "Db.h"
#include "Dialogs.h"
#include "FunctionKeyBar.h"
#include "GridCellDelegate.h"
#include "GridView.h"
#include "Session.h"
#include "SizeRowModel.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QTimer>

namespace {
constexpr int kHintHeight = 22;
const QString kDeleteQuestion = QStringLiteral("削除しますか？");
} // namespace

SizeRowScreen::SizeRowScreen(Session &session, QWidget *parent) : GridScreen(session, parent)
{
    setWindowTitle(QStringLiteral("tarvolin サイズ"));
    setFormSizeTwips(11000, 9000);
    // The way to add and remove lines, always in view below the grid and on its menu.
    m_hint = new QLabel(QStringLiteral("  Insert: 行の追加　　Delete: 行の削除"), this);
    m_hint->setObjectName(QStringLiteral("hintLabel"));
    m_hint->setStyleSheet(QStringLiteral("color: #5a6a7e;"));
    auto *add = new QAction(QStringLiteral("行の追加\tInsert"), gridView);
    auto *remove = new QAction(QStringLiteral("行の削除\tDelete"), gridView);
    connect(add, &QAction::triggered, this, &SizeRowScreen::addRow);
    connect(remove, &QAction::triggered, this, &SizeRowScreen::deleteRow);
    gridView->addAction(add);
    gridView->addAction(remove);
    gridView->setContextMenuPolicy(Qt::ActionsContextMenu);
    layoutChildren();
}

QList<GridColumn> SizeRowScreen::gridColumns() const
{
    return {GridColumn(QStringLiteral("担当者"), SizeRowModel::userField(), 1000).readOnly(),
            // Wide enough for the whole stamp "yyyy/mm/dd hh:mm:ss".
            GridColumn(QStringLiteral("更新日"), SizeRowModel::stampField(), 2200).readOnly(),
            GridColumn(QStringLiteral("ROW"), SizeRowModel::rowField(), 1000),
            GridColumn(QStringLiteral("サイズ区分"), SizeRowModel::sizeKbnField(), 1500)};
}

QString SizeRowScreen::gridSql()
{
    return SizeRows::listStatement();
}

QStringList SizeRowScreen::functionKeyCaptions() const
{
    QStringList captions(FunctionKeyBar::kKeys);
    captions[0] = QStringLiteral("終了");
    captions[11] = QStringLiteral("EXCEL");
    return captions;
}

void SizeRowScreen::onFunctionKey(int key)
{
    if (key == 12)
        excelOut();
    else
        GridScreen::onFunctionKey(key);
}

PagedQueryModel *SizeRowScreen::createModel()
{
    auto *model = new SizeRowModel(m_session, this);
    connect(model, &SizeRowModel::keyRefused, this,
            [this](const QString &text) { dialogs().message(text, Icon::Error); });
    connect(model, &SizeRowModel::dataError, this, &SizeRowScreen::reportDataError);
    return model;
}

SizeRowModel *SizeRowScreen::sizeModel() const
{
    return static_cast<SizeRowModel *>(model());
}

void SizeRowScreen::initialise()
{
    GridScreen::initialise();
    connect(gridView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &SizeRowScreen::onCurrentChanged);
    // The editor closes when a change is accepted or given up: no cell is being edited.
    connect(gridView->cellDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this] { m_editing = 0; });
}

bool SizeRowScreen::fillGrid()
{
    const bool filled = GridScreen::fillGrid();
    gridView->setToolTip(QString());
    if (!filled)
        dialogs().message(QStringLiteral("データを表示できません。"), Icon::Error);
    arrangePanes();
    if (model()->rowCount() > 0)
        gridView->setCurrentIndex(model()->index(0, ColRow));
    return filled;
}

// The key pane (ROW, サイズ区分) on the left, the stamps on the right.
void SizeRowScreen::arrangePanes()
{
    QHeaderView *header = gridView->horizontalHeader();
    header->moveSection(header->visualIndex(ColRow), 0);
    header->moveSection(header->visualIndex(ColSizeKbn), 1);
}

bool SizeRowScreen::mayEditColumn(int)
{
    m_editing = 1;
    return true;
}

void SizeRowScreen::onCurrentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    m_editing = 0;
    if (!previous.isValid() || current.row() == previous.row())
        return;
    if (sizeModel()->pendingRow() != previous.row())
        return;
    if (!sizeModel()->commitPending())
        returnTo(previous.row(), previous.column());
}

// The refused line stays current for correction, as the grid keeps a row it could not write.
void SizeRowScreen::returnTo(int row, int column)
{
    QTimer::singleShot(0, this, [this, row, column] {
        if (row < model()->rowCount())
            gridView->setCurrentIndex(model()->index(row, column));
    });
}

void SizeRowScreen::reportDataError(const QString &text)
{
    dialogs().beep();
    dialogs().message(text, Icon::Error);
}

bool SizeRowScreen::handleKey(int key, Qt::KeyboardModifiers shift)
{
    const bool plain =
        (shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ==
        0;
    if (plain && gridView->hasFocus() && !gridView->isEditing()) {
        if (key == Qt::Key_Insert) {
            addRow();
            return true;
        }
        if (key == Qt::Key_Delete) {
            deleteRow();
            return true;
        }
    }
    return GridScreen::handleKey(key, shift);
}

void SizeRowScreen::addRow()
{
    if (gridView->isEditing())
        return;
    const int pending = sizeModel()->pendingRow();
    if (pending >= 0 && !sizeModel()->isUntouchedNewRow(pending) && !sizeModel()->commitPending()) {
        returnTo(pending, ColRow);
        return;
    }
    if (pending >= 0 && sizeModel()->isUntouchedNewRow(pending))
        return; // the empty line is already there
    const int row = sizeModel()->addRow();
    const QModelIndex cell = model()->index(row, ColRow);
    gridView->setFocus();
    gridView->setCurrentIndex(cell);
    gridView->scrollTo(cell);
    gridView->edit(cell);
}

void SizeRowScreen::deleteRow()
{
    const int row = gridView->currentRowIndex();
    if (row < 0 || gridView->isEditing())
        return;
    if (!sizeModel()->isUntouchedNewRow(row) &&
        !dialogs().ask(kDeleteQuestion, Icon::Question, QString(), true))
        return;
    try {
        sizeModel()->deleteRow(row);
    } catch (const DbError &error) {
        reportDataError(error.text());
    }
}

bool SizeRowScreen::mayClose()
{
    if (m_editing == 1) {
        dialogs().message(QStringLiteral("行が編集中です。"), Icon::Error);
        return false;
    }
    // A changed line is written before the screen goes, as leaving the line would.
    const int pending = sizeModel()->pendingRow();
    if (!sizeModel()->commitPending()) {
        returnTo(pending, ColRow);
        return false;
    }
    return true;
}

void SizeRowScreen::layoutChildren()
{
    GridScreen::layoutChildren();
    if (!m_hint || isMinimized())
        return;
    const QRect grid = gridView->geometry();
    const int gridHeight = qMax(0, grid.height() - kHintHeight);
    gridView->setGeometry(grid.x(), grid.y(), grid.width(), gridHeight);
    m_hint->setGeometry(0, grid.y() + gridHeight, width(), kHintHeight);
}
