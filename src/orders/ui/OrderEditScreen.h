// The order edit screen (データ修正): the lines of the current order condition gWhere in an
// editable grid. Lines with an error are drawn light yellow; F2 bulk-updates the lines shown,
// F4 narrows them with the find dialog, F6 deletes the current line, F8 exports them, F9
// shows the current line's history.
//
// Edited cells are written when the operator leaves the line (and before any key acts on the
// grid), only while the line still holds what the screen read; see OrderEditModel.
#pragma once

#include "GridScreen.h"
#include "ScreenRegistry.h"

class OrderEditModel;

class OrderEditScreen : public GridScreen {
    Q_OBJECT
public:
    explicit OrderEditScreen(QWidget *parent = nullptr);

    void initialise() override;
    // Writes what the current line still holds, then fills again (the dialogs call it).
    bool fillGrid() override;
    OrderEditModel *editModel() const;
    // Makes the line (impDate, impLn) the current row, for the lists that open the grid on a
    // finding; false when the grid does not show that line.
    bool showLine(const QString &impDate, int impLn);

    // 1 once the operator began to change a cell; closing then asks first.
    int m_editing = 0;

    static const QColor &errorRowColour();

protected:
    QList<GridColumn> gridColumns() const override;
    QString gridSql() override;
    QStringList functionKeyCaptions() const override;
    void onFunctionKey(int key) override;
    PagedQueryModel *createModel() override;
    QColor rowColour(int row) const override;
    bool mayEditColumn(int column) override;
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
};
