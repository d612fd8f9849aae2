// The name-type master list "ネーム資材マスタ": every name type with its material codes,
// unit price and spare counts; edited through NameTypeEditScreen.
#pragma once

#include "MasterListScreen.h"

class NameTypeListScreen : public MasterListScreen {
    Q_OBJECT
public:
    explicit NameTypeListScreen(Session &session, QWidget *parent = nullptr);

protected:
    QList<GridColumn> gridColumns() const override;
    QString gridSql() override;
    std::unique_ptr<MasterTable> createTable(Db &db) const override;
};
