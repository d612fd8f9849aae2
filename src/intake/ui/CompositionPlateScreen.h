// The composition plate list "組成版チェック": the letterpress lines of the import date whose
// quality key has no composition plate yet (no row in MST_QULPLATE, or one with count 0),
// sorted by control number. The size plate list is the same screen over MST_SIZ.
#pragma once

#include "DayCheckListScreen.h"
#include "PlateCheckQuery.h"

class QLabel;
class QLineEdit;

class CompositionPlateScreen : public DayCheckListScreen {
    Q_OBJECT
public:
    explicit CompositionPlateScreen(Session &session, QWidget *parent = nullptr);

    QLineEdit *importDateEdit = nullptr;

protected:
    // The list of one plate master: its window caption, the caption of the key column and
    // the master with its conditions.
    struct Plate {
        QString caption;
        QString keyCaption;
        PlateMaster master;
    };
    CompositionPlateScreen(Session &session, const Plate &plate, QWidget *parent);

    QList<GridColumn> gridColumns() const override;
    QString gridSql() override;
    QVariantMap gridParams() override;
    bool event(QEvent *event) override;
    void layoutChildren() override;

private:
    void layoutDesigned();

    Plate m_plate;
    QLabel *m_dateCaption = nullptr;
};
