// The captioned input combos of the order dialogs: free text with an optional drop-down list,
// starting empty, and Enter moving on to the next input as operators of the desk expect.
#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QDialog;
class QKeyEvent;
class QWidget;

namespace CriterionCombo {

// An editable combo named name (the control's name in the desk), empty, without items.
QComboBox *create(const QString &name, QWidget *parent = nullptr);
// Replaces the items and leaves the text empty: the list offers values, the operator chooses.
void setItems(QComboBox *combo, const QStringList &items);
// Enter in an input moves the focus on (true when the key was used); buttons keep theirs.
bool enterMovesOn(QDialog *dialog, QKeyEvent *event);

} // namespace CriterionCombo
