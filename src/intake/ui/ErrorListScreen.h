// The error list "エラー確認": the findings of the error check for the import date picked
// before (the session's import date), one line per finding, printable through the menu 印刷.
#pragma once

#include "DayCheckListScreen.h"

class ErrorListScreen : public DayCheckListScreen {
    Q_OBJECT
public:
    explicit ErrorListScreen(Session &session, QWidget *parent = nullptr);

protected:
    QList<GridColumn> gridColumns() const override;
    QString gridSql() override;
    QVariantMap gridParams() override;
};
