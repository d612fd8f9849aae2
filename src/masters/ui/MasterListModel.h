// The rows of a master list screen. The grid itself is read-only; the delete key removes the
// current record from the table under its key, through the master's own statements.
#pragma once

#include "PagedQueryModel.h"

#include <functional>

class MasterListModel : public PagedQueryModel {
    Q_OBJECT
public:
    using Remove = std::function<void(const QString &key)>;

    MasterListModel(const QString &keyField, Remove remove, QObject *parent = nullptr);

    // Deletes the record of the row from the table and from the list; throws DbError when the
    // database refuses (the row stays).
    bool deleteRow(int row) override;

private:
    QString m_keyField;
    Remove m_remove;
};
