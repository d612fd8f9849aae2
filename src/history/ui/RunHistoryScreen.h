// The run history (実行履歴): every conversion run, newest first, with its state (変換済,
// 取消, 確定), who ran it where, its conditions and the counts of its result report. F4
// prints one of the run's lists again from the rows the run kept, F5 opens the folders its
// files went to, F8 exports the list.
#pragma once

#include "GridScreen.h"
#include "ReportEngine.h"

#include <optional>

class Session;

class RunHistoryScreen : public GridScreen {
    Q_OBJECT
public:
    explicit RunHistoryScreen(Session &session, QWidget *parent = nullptr);

    // Tells the operator instead of failing when the installation lacks the history tables.
    bool fillGrid() override;

    // The engine the reprints go through (the print screen's reportEngine).
    ReportEngine reportEngine;

    // The question F4 asks; its answer is 1, 2 or 3 (or the list's name).
    static QString listPrompt();

protected:
    QList<GridColumn> gridColumns() const override;
    QString gridSql() override;
    QStringList functionKeyCaptions() const override;
    void onFunctionKey(int key) override;

private:
    // The list the operator picks; std::nullopt when cancelled or refused (after its message).
    std::optional<QString> askList();
    bool hasCurrentRun();
    void reprint();
    void openFolders();
};
