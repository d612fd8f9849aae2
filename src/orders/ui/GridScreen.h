// The shape every list-and-maintain screen of the desk shares: one grid (gridView) over the
// rows of one SELECT, the function-key bar (functionKeyBar) at the bottom, and the fixed steps
// setUpFunctionKeys, setUpColumns and fillGrid. A screen declares its columns, its statement
// and its keys and acts on them; the base does the rest:
//
//   class FactoryListScreen : public GridScreen {
//       QList<GridColumn> gridColumns() const override { return {{"工場略号", "FC_RG", 1000}}; }
//       QString gridSql() override { return FactoryMaster::listStatement(); }
//       QStringList functionKeyCaptions() const override { return {"終了", ...}; }
//       void onFunctionKey(int key) override { ... }
//   };
//   (its row in the screen table of src/AllScreens.cpp: make<FactoryListScreen>, which runs
//   GridScreen::create with the desk's Session)
//
// Keys: the screen sees every key before its controls. A function key acts only without
// Shift, Ctrl or Alt and only when its label is enabled; otherwise it reaches the focused
// control. Clicking a label is pressing its key.
#pragma once

#include "GridColumn.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

class GridView;
class Dialogs;
class FunctionKeyBar;
class FunctionKeyLabel;
class PagedQueryModel;
class QLabel;
class QMenuBar;
class QAction;
class Session;

class GridScreen : public QWidget {
    Q_OBJECT
public:
    // How the grid follows the window's size.
    enum class ResizeRule {
        GridAboveBar, // grid fills the window above the function-key bar
        WholeClient,  // no bar: the grid fills the window (below the menu)
        Designed,     // the screen keeps its designed layout
    };

    explicit GridScreen(Session &session, QWidget *parent = nullptr);
    ~GridScreen() override;

    // Creates a screen and runs its initialise (the factory for the ScreenRegistry).
    template <class Screen> static QWidget *create(Session &session)
    {
        auto *screen = new Screen(session);
        screen->initialise();
        return screen;
    }

    // Size, hourglass, setUpFunctionKeys, setUpColumns, the session's open, fillGrid, default
    // pointer.
    virtual void initialise();
    void setUpFunctionKeys();
    void setUpColumns();
    // Fills the grid from the screen's statement (kept in `statement`). A failing statement is
    // reported with the database's text and leaves the grid empty; returns false then.
    virtual bool fillGrid();
    // Fills again and comes back to the same row and column (after an edit screen saved, a
    // dialog changed lines); the last row when the list got shorter.
    bool refillKeepingPosition();
    // The screen's key handling (key preview): true when the key was acted on.
    virtual bool handleKey(int key, Qt::KeyboardModifiers shift);

    PagedQueryModel *model() const { return m_model; }
    FunctionKeyLabel *functionKeyLabel(int index) const;
    // Text of a column of the current row ("" when the grid has no current row).
    QString columnText(int column) const;
    QString columnText(const QString &field) const;

    GridView *gridView = nullptr;
    FunctionKeyBar *functionKeyBar = nullptr;
    // The line between grid and bar (setStatusLineShown); nullptr when the screen has none.
    QLabel *statusLine = nullptr;
    // The exact statement of the last fill and its bound values; the export shows the same
    // rows as the grid.
    QString statement;
    QVariantMap statementParams;

protected:
    // --- what a screen declares ---
    virtual QList<GridColumn> gridColumns() const = 0;
    // The statement of the next fill, and the values bound to its placeholders.
    virtual QString gridSql() = 0;
    virtual QVariantMap gridParams() { return {}; }
    // Captions of F1 ... F12; "" (or missing) for a key without action.
    virtual QStringList functionKeyCaptions() const { return {}; }
    // An enabled function key (1 = F1 ... 12 = F12) was pressed or its label clicked. The
    // base closes the screen on F1 ("終了"); screens pass the keys they do not handle on.
    virtual void onFunctionKey(int key);
    // The model of the grid; editable screens return their own.
    virtual PagedQueryModel *createModel();

    // --- grid events ---
    // Colour of a row as it is drawn; an invalid colour keeps the default.
    virtual QColor rowColour(int row) const { return {}; }
    // The operator begins to change a cell; false refuses the edit.
    virtual bool mayEditColumn(int column) { return true; }
    virtual void onGridDoubleClick() {}
    // Enter while the grid has the focus (and no cell is being edited); true when acted on.
    virtual bool onGridEnter() { return false; }
    // false keeps the screen open (asked before closing).
    virtual bool mayClose() { return true; }
    // The screen closes: the session's close.
    virtual void onClosing();

    // --- options, set in the constructor ---
    void setFormSizeTwips(int width, int height);
    void setResizeRule(ResizeRule rule);
    // The grid's tool tip shows the record count after each fill.
    void setRecordCountInToolTip(bool on) { m_countInToolTip = on; }
    // A line of text between the grid and the function-key bar (what the grid shows).
    void setStatusLineShown(bool on);
    void setStatusText(const QString &text);
    // Columns (by field) that stay in view while the grid scrolls right.
    void setFrozenColumns(const QStringList &fields);
    // Menu 印刷 (printAction): prints the grid through a preview with these page texts.
    void addPrintMenu(const QString &header, const QString &footer);
    QMenuBar *menuBar();
    QAction *printAction = nullptr;

    // --- common key actions ---
    // "EXCEL": the rows of `statement` into a spreadsheet, opened for the operator.
    void excelOut();
    // Deletes the current row through the model; false when there is none or it refused.
    bool deleteCurrentRow();
    // The grid through the print preview on the session's list printer.
    void print();

    Dialogs &dialogs() const;
    Session &m_session;
    // Top of the client area below the menu bar.
    int clientTop() const;
    // Lays out grid and bar (ResizeRule); screens with a designed layout override it.
    virtual void layoutChildren();

    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void installModel();
    void moveToFirstRow();

    PagedQueryModel *m_model = nullptr;
    QMenuBar *m_menuBar = nullptr;
    ResizeRule m_resizeRule = ResizeRule::GridAboveBar;
    bool m_countInToolTip = false;
    bool m_unloaded = false;
    QString m_printHeader;
    QString m_printFooter;
};
