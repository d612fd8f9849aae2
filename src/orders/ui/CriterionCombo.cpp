#include "CriterionCombo.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>

namespace CriterionCombo {

QComboBox *create(const QString &name, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(140);
    return combo;
}

void setItems(QComboBox *combo, const QStringList &items)
{
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
}

bool enterMovesOn(QDialog *dialog, QKeyEvent *event)
{
    if ((event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) ||
        (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    QWidget *focus = QApplication::focusWidget();
    if (!focus || !dialog->isAncestorOf(focus))
        return false;
    const bool input = qobject_cast<QComboBox *>(focus) ||
                       qobject_cast<QComboBox *>(focus->parentWidget()) ||
                       qobject_cast<QLineEdit *>(focus);
    if (!input)
        return false;
    if (auto *combo = qobject_cast<QComboBox *>(focus->parentWidget()))
        combo->hidePopup();
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(focus, &tab);
    return true;
}

} // namespace CriterionCombo
