#include "DayCheckListScreen.h"

#include "Dialogs.h"
#include "FunctionKeyBar.h"
#include "GridView.h"
#include "ImportDates.h"
#include "OrderEditScreen.h"
#include "PagedQueryModel.h"
#include "ScreenRegistry.h"
#include "Session.h"

#include <QDate>
#include <QKeyEvent>
#include <QLabel>

namespace {
constexpr int kKeyEdit = 5;
}

DayCheckListScreen::DayCheckListScreen(Session &session, QWidget *parent)
    : GridScreen(session, parent)
{
    countLabel = new QLabel(this);
    countLabel->setObjectName(QStringLiteral("countLabel"));
    // A printed list says which day it belongs to (the screen is made after the date pick).
    const QDate day = QDate::fromString(m_session.importDate(), QStringLiteral("yyyyMMdd"));
    addPrintMenu(
        QStringLiteral("《オステラエラー印刷》\\t\\t処理日 ") +
            (day.isValid() ? day.toString(QStringLiteral("yyyy/MM/dd")) : m_session.importDate()),
        QStringLiteral("\\tﾍﾟｰｼﾞ: \\p"));
}

QString DayCheckListScreen::emptyText()
{
    return QStringLiteral("該当データがありません。");
}

QStringList DayCheckListScreen::functionKeyCaptions() const
{
    return {QStringLiteral("終了"), QString(), QString(), QString(), QStringLiteral("修正")};
}

bool DayCheckListScreen::fillGrid()
{
    const bool filled = GridScreen::fillGrid();
    const qint64 rows = model()->totalRows();
    countLabel->setText(rows == 0 ? emptyText() : QString::number(rows) + QStringLiteral(" 件"));
    return filled;
}

bool DayCheckListScreen::handleKey(int key, Qt::KeyboardModifiers shift)
{
    if (key == Qt::Key_Escape &&
        !(shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
        close();
        return true;
    }
    return GridScreen::handleKey(key, shift);
}

void DayCheckListScreen::onFunctionKey(int key)
{
    if (key == kKeyEdit)
        editCurrentLine();
    else
        GridScreen::onFunctionKey(key);
}

void DayCheckListScreen::onGridDoubleClick()
{
    editCurrentLine();
}

bool DayCheckListScreen::onGridEnter()
{
    editCurrentLine();
    return true;
}

void DayCheckListScreen::editCurrentLine()
{
    const int row = gridView->currentRowIndex();
    if (row < 0) {
        dialogs().beep();
        return;
    }
    const int impLn = model()->fieldValue(row, QStringLiteral("IMP_LN")).toInt();
    // The error list carries each finding's day: the picker may have chosen another day for
    // the edit grid meanwhile. The plate lists keep the picker from changing it while open.
    QString impDate = model()->fieldValue(row, QStringLiteral("IMP_DATE")).toString();
    if (model()->fieldIndex(QStringLiteral("IMP_DATE")) < 0)
        impDate = m_session.importDate();
    ScreenRegistry &registry = ScreenRegistry::instance();
    // A grid opened from here shows the day's open lines, as after the import-date picker;
    // an edit grid already open keeps the lines it shows.
    if (!registry.isOpen<OrderEditScreen>()) {
        m_session.setImportDate(impDate);
        m_session.setOrderCondition(ImportDates::whereFor(impDate));
    }
    auto *edit = qobject_cast<OrderEditScreen *>(registry.show<OrderEditScreen>());
    if (!edit)
        return;
    if (!edit->showLine(impDate, impLn))
        dialogs().message(QStringLiteral("この行は受注データ修正に表示されていません。\n"
                                         "（変換済み・確定済みの行、または検索で外れた行です）"),
                          Icon::Information);
}

void DayCheckListScreen::layoutChildren()
{
    GridScreen::layoutChildren();
    if (!countLabel)
        return;
    // The count takes a line between the grid and the function-key band.
    const QRect grid = gridView->geometry();
    const int h = countLabel->sizeHint().height() + 4;
    const int gridHeight = qMax(0, grid.height() - h);
    gridView->setGeometry(grid.x(), grid.y(), grid.width(), gridHeight);
    countLabel->setGeometry(grid.x() + 6, grid.y() + gridHeight, qMax(0, grid.width() - 12), h);
}
