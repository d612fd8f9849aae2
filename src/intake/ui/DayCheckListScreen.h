// What the three lists of one import date share (the error list and the two plate lists):
// F1 and Esc close them, the function-key band shows it, the number of rows (or that there
// are none) stands under the grid, and a double click, Enter or F5 on a row opens the order
// edit grid on that line, so that a finding is corrected where it was found.
//
// Controls: gridView, functionKeyBar, countLabel.
#pragma once

#include "GridScreen.h"

class Session;

class QLabel;

class DayCheckListScreen : public GridScreen {
    Q_OBJECT
public:
    explicit DayCheckListScreen(Session &session, QWidget *parent = nullptr);

    bool fillGrid() override;
    bool handleKey(int key, Qt::KeyboardModifiers shift) override;
    // Opens (or brings forward) the order edit grid on the current row's line.
    void editCurrentLine();

    QLabel *countLabel = nullptr;

    static QString emptyText();

protected:
    QStringList functionKeyCaptions() const override;
    void onFunctionKey(int key) override;
    void onGridDoubleClick() override;
    bool onGridEnter() override;
    void layoutChildren() override;
};
