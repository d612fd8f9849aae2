#include "OrderEditScreen.h"

#include "Dialogs.h"
#include "GridView.h"
#include "OrderEditModel.h"
#include "OrderFindCondition.h"
#include "OrderLineQuery.h"
#include "PagedQueryModel.h"
#include "ScreenRegistry.h"
#include "Session.h"

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>
#include <QScreen>

class BulkUpdateDialog;
class LineHistoryScreen;
class OrderFindDialog;

namespace {
GridColumn column(const char *caption, const char *field, int width)
{
    return GridColumn(QString::fromUtf8(caption), QString::fromUtf8(field), width);
}
} // namespace

OrderEditScreen::OrderEditScreen(Session &session, QWidget *parent) : GridScreen(session, parent)
{
    setWindowTitle(QStringLiteral("データ修正"));
    setFormSizeTwips(13500, 10000);
    // The 34 columns need more than the designed 900 pixels: the grid takes what the screen
    // offers (leaving room for the window's frame).
    if (const QScreen *shown = screen()) {
        const QRect area = shown->availableGeometry();
        const QSize size(area.width() * 95 / 100, area.height() * 90 / 100);
        resize(size);
        move(area.center() - QPoint(size.width() / 2, size.height() / 2));
    }
    setRecordCountInToolTip(true);
    setStatusLineShown(true);
    setFrozenColumns({QStringLiteral("PRINTER"), QStringLiteral("KNR_NO")});
}

QString OrderEditScreen::countText(qint64 lines, bool filtered)
{
    const QString count = QString::number(lines) + QStringLiteral("件");
    return filtered ? QStringLiteral("検索条件で絞り込み中: ") + count
                    : QStringLiteral("表示件数: ") + count;
}

void OrderEditScreen::showCount()
{
    // Any condition other than the day's open lines came from a find.
    const bool filtered =
        m_session.orderCondition() != OrderFindCondition::start(m_session.importDate());
    setStatusText(countText(model()->totalRows(), filtered));
}

bool OrderEditScreen::isEditPending() const
{
    return gridView->isEditing() || (model() && editModel()->hasPendingEdits());
}

void OrderEditScreen::sortBy(int column)
{
    if (column < 0 || column >= gridColumns().size())
        return;
    finishEditing();
    m_sortOrder = column == m_sortColumn && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                              : Qt::AscendingOrder;
    m_sortColumn = column;
    gridView->horizontalHeader()->setSortIndicator(m_sortColumn, m_sortOrder);
    fillGrid();
}

const QColor &OrderEditScreen::errorRowColour()
{
    static const QColor lightYellow(255, 255, 128);
    return lightYellow;
}

OrderEditModel *OrderEditScreen::editModel() const
{
    return static_cast<OrderEditModel *>(model());
}

bool OrderEditScreen::showLine(const QString &impDate, int impLn)
{
    PagedQueryModel *lines = model();
    if (!lines)
        return false;
    // Read in the grid's own order, page by page: the grid may be sorted by any column.
    for (int row = 0; row < lines->rowCount(); ++row) {
        if (lines->fieldValue(row, QStringLiteral("IMP_LN")).toInt() != impLn ||
            lines->fieldValue(row, QStringLiteral("IMP_DATE")).toString() != impDate)
            continue;
        const int column = gridView->currentIndex().isValid()
                               ? gridView->currentIndex().column()
                               : lines->columnOfField(QStringLiteral("PRINTER"));
        const QModelIndex cell = lines->index(row, qMax(0, column));
        gridView->setCurrentIndex(cell);
        gridView->scrollTo(cell, QAbstractItemView::PositionAtCenter);
        return true;
    }
    return false;
}

PagedQueryModel *OrderEditScreen::createModel()
{
    return new OrderEditModel([this] { return m_session.db(); }, this);
}

void OrderEditScreen::initialise()
{
    QHeaderView *headings = gridView->horizontalHeader();
    headings->setSectionsClickable(true);
    headings->setSortIndicatorShown(true);
    headings->setSortIndicator(-1, Qt::AscendingOrder);
    connect(headings, &QHeaderView::sectionClicked, this, [this](int column) { sortBy(column); });
    GridScreen::initialise();
    // Leaving a line writes its edits. Queued, so that the grid has finished moving before a
    // message about the line can be shown (or the line reloaded).
    connect(gridView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &, const QModelIndex &previous) {
                if (previous.isValid() && editModel()->pendingRow() == previous.row())
                    QMetaObject::invokeMethod(
                        this, [this] { editModel()->writePendingRow(); }, Qt::QueuedConnection);
            });
}

QList<GridColumn> OrderEditScreen::gridColumns() const
{
    return {column("IMP_DATE", "IMP_DATE", 2000).hidden().readOnly(),
            column("IMP_LN", "IMP_LN", 2000).hidden().readOnly(),
            column("印字機種", "PRINTER", 2000),
            column("熱転写", "DATA_FLG", 500).readOnly(),
            column("ネーム種", "CAR_CD", 1000),
            column("数量", "SU", 800),
            column("ロット数", "LOT_SU", 800),
            column("ロット平均数", "LOT_AVG", 800),
            column("予備数", "SPARE_SU", 800),
            column("ヤレ数", "YARE_SU", 800),
            column("管理No", "KNR_NO", 1000).readOnly(),
            column("ロットNo", "LOT_NO", 1000),
            column("発注日", "ORD_DATE", 1200),
            column("セット日", "SET_DATE", 1200),
            column("工場略号", "FC_RG", 1000),
            column("工場コード", "FC_CD", 1000),
            column("工場名", "FC_NM", 2000),
            column("略名", "FC_RNM", 1000),
            column("品番", "HINBAN", 1000),
            column("COL", "COL", 500),
            column("END", "S_END", 500),
            column("TBL", "S_TBL", 500),
            column("FLD", "S_FLD", 500),
            column("ROW", "ROW", 500),
            column("SCN", "SCN", 500),
            column("年", "SEISAN_NEN", 500),
            column("月", "SEISAN_TUKI", 500),
            column("原産国1", "GENSAN1", 1200),
            column("原産国2", "GENSAN2", 1200),
            column("製造元", "SEIZOUMOTO", 1000),
            column("品質キー", "QUL_KEY", 1500),
            column("サイズキー", "SIZE_KEY", 1500).readOnly(),
            column("エラー", "FLG1", 500).readOnly(),
            column("特定変換", "FLG5", 1200)};
}

QString OrderEditScreen::gridSql()
{
    const QString field = m_sortColumn >= 0 ? gridColumns().at(m_sortColumn).field : QString();
    return OrderLineQuery::sql(m_session.orderCondition(), field,
                               m_sortOrder == Qt::DescendingOrder);
}

QVariantMap OrderEditScreen::gridParams()
{
    return m_session.orderCondition().params();
}

QStringList OrderEditScreen::functionKeyCaptions() const
{
    return {QStringLiteral("終了"),
            QStringLiteral("更新"),
            QString(),
            QStringLiteral("検索"),
            QString(),
            QStringLiteral("削除"),
            QString(),
            QStringLiteral("EXCEL"),
            QStringLiteral("履歴")};
}

bool OrderEditScreen::fillGrid()
{
    if (model())
        editModel()->writePendingRow();
    const bool filled = GridScreen::fillGrid();
    showCount();
    return filled;
}

void OrderEditScreen::onFunctionKey(int key)
{
    switch (key) {
    case 2:
        finishEditing();
        showDialog(ScreenRegistry::key<BulkUpdateDialog>());
        break;
    case 4:
        finishEditing();
        showDialog(ScreenRegistry::key<OrderFindDialog>());
        break;
    case 6:
        commitOpenEditor();
        deleteRecord();
        break;
    case 8:
        finishEditing();
        excelOut();
        break;
    case 9:
        finishEditing();
        showLineHistory();
        break;
    default:
        GridScreen::onFunctionKey(key);
    }
}

void OrderEditScreen::commitOpenEditor()
{
    if (!gridView->isEditing())
        return;
    QWidget *editor = QApplication::focusWidget();
    // The editor of a frozen column (印字機種) lies in the frozen view over the grid.
    if (!editor || !gridView->isAncestorOf(editor))
        return;
    QAbstractItemDelegate *delegate = gridView->itemDelegate();
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void OrderEditScreen::finishEditing()
{
    commitOpenEditor();
    editModel()->writePendingRow();
}

void OrderEditScreen::showDialog(ScreenRegistry::Key dialogClass)
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    QPointer<QWidget> screen = registry.load(registry.formName(dialogClass));
    if (auto *dialog = qobject_cast<QDialog *>(screen.data()))
        dialog->exec(); // OK and Cancel both unload it
}

// The line's changes in the history dialog, found through the registry and opened by the
// name of its method, so that the order screens do not depend on the history's.
void OrderEditScreen::showLineHistory()
{
    const QString impDate = columnText(0);
    if (impDate.isEmpty())
        return; // no current line
    if (QWidget *dialog = ScreenRegistry::instance().load<LineHistoryScreen>())
        QMetaObject::invokeMethod(dialog, "openModal", Q_ARG(QString, impDate),
                                  Q_ARG(QString, columnText(1)));
}

void OrderEditScreen::deleteRecord()
{
    if (!dialogs().ask(QStringLiteral("削除しますか？"), Icon::Question, QString(), true)) {
        dialogs().message(QStringLiteral("キャンセルしました。"));
        return;
    }
    if (columnText(0).isEmpty())
        return; // no current line
    if (!deleteCurrentRow())
        return;
    gridView->setToolTip(QString::number(model()->totalRows()));
    showCount();
    dialogs().message(QStringLiteral("削除しました。"));
}

QColor OrderEditScreen::rowColour(int row) const
{
    if (gridView->cellText(row, QStringLiteral("FLG1")) == QLatin1String("1"))
        return errorRowColour();
    return {};
}

// Only an edit that has not reached the database is lost by closing: after the line was
// written (or its edit refused) the screen closes without a question.
bool OrderEditScreen::mayClose()
{
    if (!isEditPending())
        return true;
    return dialogs().ask(
        QStringLiteral("行が編集中です。\r\n画面を閉じると編集結果は反映されません。"
                       "\r\n閉じますか？"),
        Icon::Question);
}

void OrderEditScreen::onClosing()
{
    GridScreen::onClosing();
    // The next opening starts with a find dialog filled afresh.
    if (QWidget *find = ScreenRegistry::instance().find<OrderFindDialog>())
        find->close();
}
