// The confirmation screen (確定): the counts of the session's import date and the
// confirmation of the whole date.
#pragma once

#include "DayRunScreen.h"

class QLineEdit;

class ConfirmationScreen : public DayRunScreen {
    Q_OBJECT
public:
    explicit ConfirmationScreen(Session &session, QWidget *parent = nullptr);

    QLineEdit *totalEdit;
    QLineEdit *convertedEdit;
    QLineEdit *unconvertedEdit;

protected:
    void onOk() override;

private:
    void buildControls();
    void initialise();
};
