// The list screen of a master (ネーム資材マスタ, 品質マスタ, 工場マスタ): the whole table in the
// grid, read-only, with the keys of the master pattern: F1 終了, F3 新規 (a new record),
// F6 削除 (the current record, after a question), F8 EXCEL, F12 新規2 (a new record from a copy
// of the current one), Enter or a double-click on the grid (edit the current record). The edit
// screen opens modally over the list; after a save the list is read again at the same place.
#pragma once

#include "GridScreen.h"
#include "ScreenRegistry.h"

#include <memory>

class Db;
class MasterTable;

class MasterListScreen : public GridScreen {
    Q_OBJECT
public:
    void newRecord();
    // mode 0 edits the current record; mode 1 offers a new record from a copy of it.
    void editRecord(int mode);
    void deleteRecord();

protected:
    MasterListScreen(Session &session, const QString &title, ScreenRegistry::Key editScreen,
                     QWidget *parent = nullptr);

    virtual std::unique_ptr<MasterTable> createTable(Db &db) const = 0;

    QStringList functionKeyCaptions() const override;
    void onFunctionKey(int key) override;
    bool onGridEnter() override;
    void onGridDoubleClick() override;
    PagedQueryModel *createModel() override;

private:
    void openEditScreen(int mode, const QString &key);

    ScreenRegistry::Key m_editScreen;
};
