// Cell editor of the grids: asks the screen before an edit begins (the begin-edit
// notification, which may refuse the edit) and otherwise edits in the usual floating editor.
#pragma once

#include <QStyledItemDelegate>

#include <functional>

class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using BeforeEdit = std::function<bool(int row, int column)>;

    explicit GridCellDelegate(QObject *parent = nullptr) : QStyledItemDelegate(parent) {}

    void setBeforeEdit(BeforeEdit hook) { m_beforeEdit = std::move(hook); }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;

private:
    BeforeEdit m_beforeEdit;
};
