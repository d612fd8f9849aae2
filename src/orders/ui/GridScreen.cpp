#include "GridScreen.h"

#include "BusyCursor.h"
#include "DBGrid.h"
#include "Db.h"
#include "DbConnection.h"
#include "Dialogs.h"
#include "ExcelExport.h"
#include "FunctionKeyBar.h"
#include "FunctionKeyLabel.h"
#include "GridCellDelegate.h"
#include "GridPageRenderer.h"
#include "GridPrintPreview.h"
#include "PagedQueryModel.h"
#include "Printers.h"
#include "globals.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPrinter>
#include <QScrollBar>

namespace {
const QString kNotConnected = QStringLiteral("データベースに接続されていません。");
constexpr Qt::KeyboardModifiers kShiftState =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
} // namespace

GridScreen::GridScreen(QWidget *parent) : QWidget(parent)
{
    TDBGrid1 = new DBGrid(this);
    frameF = new FunctionKeyBar(this);
    connect(frameF, &FunctionKeyBar::labelClicked, this,
            [this](int index) { Form_KeyDown(Qt::Key_F1 + index, Qt::NoModifier); });
    connect(TDBGrid1, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &) { onGridDoubleClick(); });
    TDBGrid1->cellDelegate()->setBeforeEdit(
        [this](int, int column) { return BeforeColEdit(column); });
    // Key preview: the screen sees the keys of all its controls first.
    qApp->installEventFilter(this);
}

GridScreen::~GridScreen()
{
    qApp->removeEventFilter(this);
}

PagedQueryModel *GridScreen::createModel()
{
    return new PagedQueryModel(this);
}

void GridScreen::installModel()
{
    if (m_model)
        return;
    m_model = createModel();
    m_model->setRowColourHook([this](int row) { return FetchRowStyle(row); });
    connect(m_model, &PagedQueryModel::fetchFailed, this,
            [this](const QString &text) { dialogs().message(text, Icon::Error); });
    connect(m_model, &PagedQueryModel::writeFailed, this,
            [this](const QString &text) { dialogs().message(text, Icon::Error); });
    TDBGrid1->setGridModel(m_model);
}

Dialogs &GridScreen::dialogs() const
{
    return appDialogs();
}

FunctionKeyLabel *GridScreen::xlabFnc(int index) const
{
    return frameF->label(index);
}

void GridScreen::Form_Load()
{
    BusyCursor busy;
    PP_FuncKeySet();
    PP_ColumnSet();
    if (dbOpen(0) != 0)
        return; // dbOpen has told the operator; the grid stays empty
    MF_GridSet();
}

void GridScreen::PP_FuncKeySet()
{
    frameF->setKeys(functionKeyCaptions());
}

void GridScreen::PP_ColumnSet()
{
    installModel();
    m_model->setColumns(gridColumns());
    TDBGrid1->applyColumnLayout();
}

bool GridScreen::MF_GridSet()
{
    installModel();
    BusyCursor busy;
    mySQL = gridSql();
    bool filled = true;
    try {
        if (!gCn)
            throw DbError(kNotConnected, QStringLiteral("3704"));
        m_model->setQuery(gCn->settings(), mySQL);
    } catch (const DbError &error) {
        filled = false;
        dialogs().message(error.text(), Icon::Error);
    }
    moveToFirstRow();
    if (m_countInToolTip)
        TDBGrid1->setToolTip(QString::number(m_model->totalRows()));
    return filled;
}

bool GridScreen::refillKeepingPosition()
{
    const QModelIndex current = TDBGrid1->currentIndex();
    const int scroll = TDBGrid1->verticalScrollBar()->value();
    const bool filled = MF_GridSet();
    const int rows = m_model->rowCount();
    if (!filled || !current.isValid() || rows == 0)
        return filled;
    TDBGrid1->verticalScrollBar()->setValue(scroll);
    TDBGrid1->setCurrentIndex(m_model->index(qMin(current.row(), rows - 1), current.column()));
    return filled;
}

// After a fill the first row is the current one, as the operator expects from the grid.
void GridScreen::moveToFirstRow()
{
    if (m_model->rowCount() == 0)
        return;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (!TDBGrid1->isColumnHidden(c)) {
            TDBGrid1->setCurrentIndex(m_model->index(0, c));
            return;
        }
    }
}

bool GridScreen::Form_KeyDown(int key, Qt::KeyboardModifiers shift)
{
    if (shift & kShiftState)
        return false;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        const int index = key - Qt::Key_F1;
        if (!frameF->isKeyEnabled(index))
            return false;
        onFunctionKey(index + 1);
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && TDBGrid1->hasFocus() &&
        !TDBGrid1->isEditing())
        return onGridEnter();
    return false;
}

void GridScreen::onFunctionKey(int key)
{
    if (key == 1)
        close();
}

bool GridScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *target = qobject_cast<QWidget *>(watched);
    if (!target || (target != this && !isAncestorOf(target)))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    return Form_KeyDown(key->key(), key->modifiers());
}

QString GridScreen::columnText(int column) const
{
    return TDBGrid1->columnText(column);
}

QString GridScreen::columnText(const QString &field) const
{
    return TDBGrid1->columnText(field);
}

void GridScreen::setFormSizeTwips(int width, int height)
{
    resize(GridColumn::twipsToPixels(width), GridColumn::twipsToPixels(height));
}

void GridScreen::setResizeRule(ResizeRule rule)
{
    m_resizeRule = rule;
    frameF->setVisible(rule == ResizeRule::GridAboveBar);
    layoutChildren();
}

QMenuBar *GridScreen::menuBar()
{
    if (!m_menuBar) {
        m_menuBar = new QMenuBar(this);
        m_menuBar->setNativeMenuBar(false);
        layoutChildren();
    }
    return m_menuBar;
}

void GridScreen::addPrintMenu(const QString &header, const QString &footer)
{
    m_printHeader = header;
    m_printFooter = footer;
    M_Print = menuBar()->addAction(QStringLiteral("印刷"));
    M_Print->setObjectName(QStringLiteral("M_Print"));
    connect(M_Print, &QAction::triggered, this, &GridScreen::PP_Print);
}

int GridScreen::clientTop() const
{
    return m_menuBar ? m_menuBar->sizeHint().height() : 0;
}

void GridScreen::layoutChildren()
{
    if (isMinimized())
        return;
    const int top = clientTop();
    if (m_menuBar)
        m_menuBar->setGeometry(0, 0, width(), top);
    // A window made smaller than the bar leaves the grid at height 0 and the bar at the top;
    // nothing here may fail.
    const int w = qMax(0, width());
    const int h = qMax(0, height() - top);
    switch (m_resizeRule) {
    case ResizeRule::GridAboveBar: {
        const int barHeight = frameF->height();
        const int gridHeight = qMax(0, h - barHeight);
        TDBGrid1->setGeometry(0, top, w, gridHeight);
        frameF->setGeometry(0, top + gridHeight, w, barHeight);
        break;
    }
    case ResizeRule::WholeClient:
        TDBGrid1->setGeometry(0, top, w, h);
        break;
    case ResizeRule::Designed:
        break;
    }
}

void GridScreen::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void GridScreen::closeEvent(QCloseEvent *event)
{
    if (!m_unloaded && !Form_QueryUnload()) {
        event->ignore();
        return;
    }
    if (!m_unloaded) {
        m_unloaded = true;
        Form_Unload();
    }
    event->accept();
}

void GridScreen::Form_Unload()
{
    dbClose(0);
}

void GridScreen::excelOut()
{
    BusyCursor busy;
    try {
        MF_ExcelOut(mySQL);
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error);
    } catch (const ExcelExportError &error) {
        dialogs().message(error.text(), Icon::Error);
    }
}

bool GridScreen::deleteCurrentRow()
{
    const int row = TDBGrid1->currentRowIndex();
    if (row < 0)
        return false;
    try {
        return m_model->deleteRow(row);
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error);
        return false;
    }
}

void GridScreen::PP_Print()
{
    installModel();
    Printers &printers = appPrinters();
    const QString previous = printers.current();
    if (!printers.isKnown(gLPrinter)) {
        dialogs().message(QStringLiteral("プリンタ設定が間違っています。"), Icon::Error,
                          QStringLiteral("エラー"));
        return;
    }
    SetDefaultPrinter(gLPrinter);
    {
        QPrinter printer(QPrinter::HighResolution);
        QString pdfPath;
        if (printers.prepare(printer, gLPrinter, windowTitle(), &pdfPath)) {
            GridPageRenderer renderer(*m_model);
            renderer.setHeader(m_printHeader);
            renderer.setFooter(m_printFooter);
            GridPrintPreview preview(&printer, pdfPath, this);
            connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                    [&renderer](QPrinter *target) { renderer.render(*target); });
            preview.exec();
        } else {
            dialogs().message(QStringLiteral("プリンタ設定が間違っています。"), Icon::Error,
                              QStringLiteral("エラー"));
        }
    }
    SetDefaultPrinter(previous);
}
