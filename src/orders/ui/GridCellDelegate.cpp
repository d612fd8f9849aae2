#include "GridCellDelegate.h"

QWidget *GridCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    if (m_beforeEdit && !m_beforeEdit(index.row(), index.column()))
        return nullptr;
    return QStyledItemDelegate::createEditor(parent, option, index);
}
