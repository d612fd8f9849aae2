#include "frmMst_TarvolinSize.h"

#include "DBGrid.h"
#include "Db.h"
#include "Dialogs.h"
#include "FunctionKeyBar.h"
#include "GridCellDelegate.h"
#include "TarvolinSizeModel.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QTimer>

namespace {
constexpr int kHintHeight = 22;
const QString kDeleteQuestion = QStringLiteral("削除しますか？");
} // namespace

frmMst_TarvolinSize::frmMst_TarvolinSize(QWidget *parent) : GridScreen(parent)
{
    setWindowTitle(QStringLiteral("tarvolin サイズ"));
    setFormSizeTwips(11000, 9000);
    // The way to add and remove lines, always in view below the grid and on its menu.
    m_hint = new QLabel(QStringLiteral("  Insert: 行の追加　　Delete: 行の削除"), this);
    m_hint->setObjectName(QStringLiteral("lblHint"));
    m_hint->setStyleSheet(QStringLiteral("color: #5a6a7e;"));
    auto *add = new QAction(QStringLiteral("行の追加\tInsert"), TDBGrid1);
    auto *remove = new QAction(QStringLiteral("行の削除\tDelete"), TDBGrid1);
    connect(add, &QAction::triggered, this, &frmMst_TarvolinSize::PP_AddRow);
    connect(remove, &QAction::triggered, this, &frmMst_TarvolinSize::PP_DeleteRow);
    TDBGrid1->addAction(add);
    TDBGrid1->addAction(remove);
    TDBGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    layoutChildren();
}

QList<GridColumn> frmMst_TarvolinSize::gridColumns() const
{
    return {GridColumn(QStringLiteral("担当者"), TarvolinSizeModel::userField(), 1000).readOnly(),
            // Wide enough for the whole stamp "yyyy/mm/dd hh:mm:ss".
            GridColumn(QStringLiteral("更新日"), TarvolinSizeModel::stampField(), 2200).readOnly(),
            GridColumn(QStringLiteral("ROW"), TarvolinSizeModel::rowField(), 1000),
            GridColumn(QStringLiteral("サイズ区分"), TarvolinSizeModel::sizeKbnField(), 1500)};
}

QString frmMst_TarvolinSize::gridSql()
{
    // Aliases in double quotes keep their spelling on PostgreSQL (the sheet's headings too).
    return QStringLiteral("Select ROW As \"ROW\", SIZE_KBN As \"サイズ区分\",USER_NM As "
                          "\"担当者\",TIME_STAMP As \"更新日\" ") +
           QStringLiteral("From MST_TARVOLIN_SIZE ") + QString() +
           QStringLiteral("Order By ROW,SIZE_KBN ");
}

QStringList frmMst_TarvolinSize::functionKeyCaptions() const
{
    QStringList captions(FunctionKeyBar::kKeys);
    captions[0] = QStringLiteral("終了");
    captions[11] = QStringLiteral("EXCEL");
    return captions;
}

void frmMst_TarvolinSize::onFunctionKey(int key)
{
    if (key == 12)
        excelOut();
    else
        GridScreen::onFunctionKey(key);
}

PagedQueryModel *frmMst_TarvolinSize::createModel()
{
    auto *model = new TarvolinSizeModel(this);
    connect(model, &TarvolinSizeModel::keyRefused, this,
            [this](const QString &text) { dialogs().message(text, Icon::Error); });
    connect(model, &TarvolinSizeModel::dataError, this, &frmMst_TarvolinSize::reportDataError);
    return model;
}

TarvolinSizeModel *frmMst_TarvolinSize::sizeModel() const
{
    return static_cast<TarvolinSizeModel *>(model());
}

void frmMst_TarvolinSize::Form_Load()
{
    GridScreen::Form_Load();
    connect(TDBGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmMst_TarvolinSize::onCurrentChanged);
    // The editor closes when a change is accepted or given up: no cell is being edited.
    connect(TDBGrid1->cellDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this] { m_editing = 0; });
}

bool frmMst_TarvolinSize::MF_GridSet()
{
    const bool filled = GridScreen::MF_GridSet();
    TDBGrid1->setToolTip(QString());
    if (!filled)
        dialogs().message(QStringLiteral("データを表示できません。"), Icon::Error);
    arrangePanes();
    if (model()->rowCount() > 0)
        TDBGrid1->setCurrentIndex(model()->index(0, ColRow));
    return filled;
}

// The key pane (ROW, サイズ区分) on the left, the stamps on the right.
void frmMst_TarvolinSize::arrangePanes()
{
    QHeaderView *header = TDBGrid1->horizontalHeader();
    header->moveSection(header->visualIndex(ColRow), 0);
    header->moveSection(header->visualIndex(ColSizeKbn), 1);
}

bool frmMst_TarvolinSize::BeforeColEdit(int)
{
    m_editing = 1;
    return true;
}

void frmMst_TarvolinSize::onCurrentChanged(const QModelIndex &current, const QModelIndex &previous)
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
void frmMst_TarvolinSize::returnTo(int row, int column)
{
    QTimer::singleShot(0, this, [this, row, column] {
        if (row < model()->rowCount())
            TDBGrid1->setCurrentIndex(model()->index(row, column));
    });
}

void frmMst_TarvolinSize::reportDataError(const QString &text)
{
    dialogs().beep();
    dialogs().message(text, Icon::Error);
}

bool frmMst_TarvolinSize::Form_KeyDown(int key, Qt::KeyboardModifiers shift)
{
    const bool plain =
        (shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ==
        0;
    if (plain && TDBGrid1->hasFocus() && !TDBGrid1->isEditing()) {
        if (key == Qt::Key_Insert) {
            PP_AddRow();
            return true;
        }
        if (key == Qt::Key_Delete) {
            PP_DeleteRow();
            return true;
        }
    }
    return GridScreen::Form_KeyDown(key, shift);
}

void frmMst_TarvolinSize::PP_AddRow()
{
    if (TDBGrid1->isEditing())
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
    TDBGrid1->setFocus();
    TDBGrid1->setCurrentIndex(cell);
    TDBGrid1->scrollTo(cell);
    TDBGrid1->edit(cell);
}

void frmMst_TarvolinSize::PP_DeleteRow()
{
    const int row = TDBGrid1->currentRowIndex();
    if (row < 0 || TDBGrid1->isEditing())
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

bool frmMst_TarvolinSize::Form_QueryUnload()
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

void frmMst_TarvolinSize::layoutChildren()
{
    GridScreen::layoutChildren();
    if (!m_hint || isMinimized())
        return;
    const QRect grid = TDBGrid1->geometry();
    const int gridHeight = qMax(0, grid.height() - kHintHeight);
    TDBGrid1->setGeometry(grid.x(), grid.y(), grid.width(), gridHeight);
    m_hint->setGeometry(0, grid.y() + gridHeight, width(), kHintHeight);
}
