// The conversion screen (変換): the operator's conditions for a run over the import date of
// the session's import date, the run itself, and the cancel of the latest run (前回変換Cancel).
#pragma once

#include "DayRunScreen.h"

class QComboBox;
class QPushButton;
class QRadioButton;

class ConversionScreen : public DayRunScreen {
    Q_OBJECT
public:
    explicit ConversionScreen(Session &session, QWidget *parent = nullptr);

    QComboBox *setDateFromCombo;
    QComboBox *setDateToCombo;
    QComboBox *specialCombo;
    QRadioButton *machineButtons[3];
    QPushButton *cancelRunButton;

protected:
    void onOk() override;

private:
    void buildControls();
    void initialise();
    void fillLists();
    void onCancelRun();
};
