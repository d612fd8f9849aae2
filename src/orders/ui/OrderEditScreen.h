// The order edit screen (データ修正): the lines of the session's order condition in an
// editable grid. Lines with an error are drawn light yellow; F2 bulk-updates the lines shown,
// F4 narrows them with the find dialog, F6 deletes the current line, F8 exports them, F9
// shows the current line's history.
//
// Edited cells are written when the operator leaves the line (and before any key acts on the
// grid), only while the line still holds what the screen read; see OrderEditModel.
//
// A click on a heading sorts the lines by that column (in the statement, so the export and
// the pages read later follow it), the line key breaking ties. 印字機種 and 管理No stay in
// view while the grid scrolls right. The line under the grid counts the lines and says when a
// find narrows them.
#pragma once

#include "GridScreen.h"
#include "ScreenRegistry.h"

class Session;

class OrderEditModel;

class OrderEditScreen : public GridScreen {
    Q_OBJECT
public:
    explicit OrderEditScreen(Session &session, QWidget *parent = nullptr);

    void initialise() override;
    // Writes what the current line still holds, then fills again (the dialogs call it).
    bool fillGrid() override;
    OrderEditModel *editModel() const;
    // Makes the line (impDate, impLn) the current row, for the lists that open the grid on a
    // finding; false when the grid does not show that line.
    bool showLine(const QString &impDate, int impLn);

    // A cell is being typed into, or a line holds edits not yet written: closing asks first.
    bool isEditPending() const;
    // The column the lines are sorted by (a model column, -1: file order) and its direction.
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    // Sorts by a column, as a click on its heading does (a second click turns the order).
    void sortBy(int column);

    static const QColor &errorRowColour();
    // The text under the grid: the number of lines, and whether a find narrows them.
    static QString countText(qint64 lines, bool filtered);

protected:
    QList<GridColumn> gridColumns() const override;
    QString gridSql() override;
    QVariantMap gridParams() override;
    QStringList functionKeyCaptions() const override;
    void onFunctionKey(int key) override;
    PagedQueryModel *createModel() override;
    QColor rowColour(int row) const override;
    bool mayClose() override;
    void onClosing() override;

private:
    // The cell being typed into is taken over and the line's edits written, so that a dialog
    // or an export sees them.
    void finishEditing();
    void commitOpenEditor();
    void showDialog(ScreenRegistry::Key dialogClass);
    void deleteRecord();
    void showLineHistory();
    void showCount();

    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
