// The factory master list "工場マスタ": every factory abbreviation with its codes, names,
// origin and addresses; edited through FactoryEditScreen.
#pragma once

#include "MasterListScreen.h"

class FactoryListScreen : public MasterListScreen {
    Q_OBJECT
public:
    explicit FactoryListScreen(Session &session, QWidget *parent = nullptr);

protected:
    QList<GridColumn> gridColumns() const override;
    QString gridSql() override;
    std::unique_ptr<MasterTable> createTable(Db &db) const override;
};
