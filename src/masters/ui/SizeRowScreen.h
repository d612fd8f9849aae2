// The size-row master "tarvolin サイズ": the pairs of row code and size class, edited directly
// in the grid. Key pane on the left (ROW, サイズ区分), stamp pane on the right (担当者, 更新日).
// Insert adds a line at the end, Delete removes the current one after a question; a changed
// line is written when the operator leaves it. F1 終了, F12 EXCEL.
#pragma once

#include "GridScreen.h"

class Session;

class QLabel;
class SizeRowModel;

class SizeRowScreen : public GridScreen {
    Q_OBJECT
public:
    explicit SizeRowScreen(Session &session, QWidget *parent = nullptr);

    void initialise() override;
    bool fillGrid() override;
    bool handleKey(int key, Qt::KeyboardModifiers shift) override;

    // Adds an empty line and starts typing its ROW.
    void addRow();
    void deleteRow();

    // 1 while a cell is being changed and not yet accepted.
    int editing() const { return m_editing; }

    // Column indexes of the grid.
    enum Column { ColUser = 0, ColStamp = 1, ColRow = 2, ColSizeKbn = 3 };

protected:
    QList<GridColumn> gridColumns() const override;
    QString gridSql() override;
    QStringList functionKeyCaptions() const override;
    void onFunctionKey(int key) override;
    PagedQueryModel *createModel() override;
    bool mayEditColumn(int column) override;
    bool mayClose() override;
    void layoutChildren() override;

private:
    SizeRowModel *sizeModel() const;
    void arrangePanes();
    void onCurrentChanged(const QModelIndex &current, const QModelIndex &previous);
    void returnTo(int row, int column);
    void reportDataError(const QString &text);

    int m_editing = 0;
    QLabel *m_hint = nullptr;
};
