// The conversion screen (変換): the operator's conditions for a run over the import date of
// the session's import date, the run itself, and the cancel of the latest run (前回変換Cancel).
#pragma once

#include <QWidget>

class Session;

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class ConversionScreen : public QWidget {
    Q_OBJECT
public:
    explicit ConversionScreen(Session &session, QWidget *parent = nullptr);

    QLineEdit *importDateEdit;
    QComboBox *setDateFromCombo;
    QComboBox *setDateToCombo;
    QComboBox *specialCombo;
    QRadioButton *machineButtons[3];
    QPushButton *okButton;
    QPushButton *cancelButton;
    QPushButton *cancelRunButton;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    Session &m_session;
    void buildControls();
    void initialise();
    void onActivated();
    void fillLists();
    void onOk();
    void onCancelRun();
};
