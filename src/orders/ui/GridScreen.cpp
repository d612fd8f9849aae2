#include "GridScreen.h"

#include "BusyCursor.h"
#include "Db.h"
#include "Dialogs.h"
#include "ExcelExport.h"
#include "FunctionKeyBar.h"
#include "FunctionKeyLabel.h"
#include "GridCellDelegate.h"
#include "GridPageRenderer.h"
#include "GridPrintPreview.h"
#include "GridView.h"
#include "PagedQueryModel.h"
#include "Printers.h"
#include "Session.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QScrollBar>

namespace {
const QString kNotConnected = QStringLiteral("データベースに接続されていません。");
constexpr Qt::KeyboardModifiers kShiftState =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
} // namespace

GridScreen::GridScreen(Session &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    gridView = new GridView(this);
    functionKeyBar = new FunctionKeyBar(this);
    connect(functionKeyBar, &FunctionKeyBar::labelClicked, this,
            [this](int index) { handleKey(Qt::Key_F1 + index, Qt::NoModifier); });
    connect(gridView, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &) { onGridDoubleClick(); });
    gridView->cellDelegate()->setBeforeEdit(
        [this](int, int column) { return mayEditColumn(column); });
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
    m_model->setRowColourHook([this](int row) { return rowColour(row); });
    connect(m_model, &PagedQueryModel::fetchFailed, this,
            [this](const QString &text) { dialogs().message(text, Icon::Error); });
    connect(m_model, &PagedQueryModel::writeFailed, this,
            [this](const QString &text) { dialogs().message(text, Icon::Error); });
    gridView->setGridModel(m_model);
}

Dialogs &GridScreen::dialogs() const
{
    return appDialogs();
}

FunctionKeyLabel *GridScreen::functionKeyLabel(int index) const
{
    return functionKeyBar->label(index);
}

void GridScreen::initialise()
{
    BusyCursor busy;
    setUpFunctionKeys();
    setUpColumns();
    if (m_session.open() != Outcome::Done)
        return; // the open has told the operator; the grid stays empty
    fillGrid();
}

void GridScreen::setUpFunctionKeys()
{
    functionKeyBar->setKeys(functionKeyCaptions());
}

void GridScreen::setUpColumns()
{
    installModel();
    m_model->setColumns(gridColumns());
    gridView->applyColumnLayout();
}

bool GridScreen::fillGrid()
{
    installModel();
    BusyCursor busy;
    statement = gridSql();
    statementParams = gridParams();
    bool filled = true;
    try {
        if (!m_session.db())
            throw DbError(kNotConnected, QStringLiteral("3704"));
        m_model->setQuery(m_session.db()->settings(), statement, statementParams);
    } catch (const DbError &error) {
        filled = false;
        dialogs().message(error.text(), Icon::Error);
    }
    moveToFirstRow();
    if (m_countInToolTip)
        gridView->setToolTip(QString::number(m_model->totalRows()));
    return filled;
}

bool GridScreen::refillKeepingPosition()
{
    const QModelIndex current = gridView->currentIndex();
    const int scroll = gridView->verticalScrollBar()->value();
    const bool filled = fillGrid();
    const int rows = m_model->rowCount();
    if (!filled || !current.isValid() || rows == 0)
        return filled;
    gridView->verticalScrollBar()->setValue(scroll);
    gridView->setCurrentIndex(m_model->index(qMin(current.row(), rows - 1), current.column()));
    return filled;
}

// After a fill the first row is the current one, as the operator expects from the grid.
void GridScreen::moveToFirstRow()
{
    if (m_model->rowCount() == 0)
        return;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (!gridView->isColumnHidden(c)) {
            gridView->setCurrentIndex(m_model->index(0, c));
            return;
        }
    }
}

bool GridScreen::handleKey(int key, Qt::KeyboardModifiers shift)
{
    if (shift & kShiftState)
        return false;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        const int index = key - Qt::Key_F1;
        if (!functionKeyBar->isKeyEnabled(index))
            return false;
        onFunctionKey(index + 1);
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && gridView->hasFocus() &&
        !gridView->isEditing())
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
    return handleKey(key->key(), key->modifiers());
}

QString GridScreen::columnText(int column) const
{
    return gridView->columnText(column);
}

QString GridScreen::columnText(const QString &field) const
{
    return gridView->columnText(field);
}

void GridScreen::setFormSizeTwips(int width, int height)
{
    resize(GridColumn::twipsToPixels(width), GridColumn::twipsToPixels(height));
}

void GridScreen::setResizeRule(ResizeRule rule)
{
    m_resizeRule = rule;
    functionKeyBar->setVisible(rule == ResizeRule::GridAboveBar);
    layoutChildren();
}

void GridScreen::setStatusLineShown(bool on)
{
    if (on && !statusLine) {
        statusLine = new QLabel(this);
        statusLine->setObjectName(QStringLiteral("statusLine"));
        statusLine->setContentsMargins(6, 0, 6, 0);
    }
    if (statusLine)
        statusLine->setVisible(on);
    layoutChildren();
}

void GridScreen::setStatusText(const QString &text)
{
    if (statusLine)
        statusLine->setText(text);
}

void GridScreen::setFrozenColumns(const QStringList &fields)
{
    gridView->setFrozenFields(fields);
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
    printAction = menuBar()->addAction(QStringLiteral("印刷"));
    printAction->setObjectName(QStringLiteral("printAction"));
    connect(printAction, &QAction::triggered, this, &GridScreen::print);
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
        const int barHeight = functionKeyBar->height();
        const int lineHeight =
            statusLine && statusLine->isVisibleTo(this) ? statusLine->sizeHint().height() : 0;
        const int gridHeight = qMax(0, h - barHeight - lineHeight);
        gridView->setGeometry(0, top, w, gridHeight);
        if (lineHeight > 0)
            statusLine->setGeometry(0, top + gridHeight, w, lineHeight);
        functionKeyBar->setGeometry(0, top + gridHeight + lineHeight, w, barHeight);
        break;
    }
    case ResizeRule::WholeClient:
        gridView->setGeometry(0, top, w, h);
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
    if (!m_unloaded && !mayClose()) {
        event->ignore();
        return;
    }
    if (!m_unloaded) {
        m_unloaded = true;
        onClosing();
    }
    event->accept();
}

void GridScreen::onClosing()
{
    m_session.close();
}

void GridScreen::excelOut()
{
    BusyCursor busy;
    try {
        exportToExcel(m_session.db(), statement, statementParams);
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error);
    } catch (const ExcelExportError &error) {
        dialogs().message(error.text(), Icon::Error);
    }
}

bool GridScreen::deleteCurrentRow()
{
    const int row = gridView->currentRowIndex();
    if (row < 0)
        return false;
    try {
        return m_model->deleteRow(row);
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error);
        return false;
    }
}

void GridScreen::print()
{
    installModel();
    Printers &printers = appPrinters();
    const QString previous = printers.current();
    if (!printers.isKnown(m_session.listPrinter())) {
        dialogs().message(QStringLiteral("プリンタ設定が間違っています。"), Icon::Error,
                          QStringLiteral("エラー"));
        return;
    }
    setDefaultPrinter(m_session.listPrinter());
    {
        QPrinter printer(QPrinter::HighResolution);
        QString pdfPath;
        if (printers.prepare(printer, m_session.listPrinter(), windowTitle(), &pdfPath)) {
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
    setDefaultPrinter(previous);
}
