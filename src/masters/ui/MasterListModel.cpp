#include "MasterListModel.h"

MasterListModel::MasterListModel(const QString &keyField, Remove remove, QObject *parent)
    : PagedQueryModel(parent), m_keyField(keyField), m_remove(std::move(remove))
{
}

bool MasterListModel::deleteRow(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    m_remove(fieldValue(row, m_keyField).toString());
    dropRow(row);
    return true;
}
