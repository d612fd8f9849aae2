// The first window: names the operator for the run, warns about unset or unreachable output
// folders and offers the options screen (F10) for repairs. Cancel ends the program.
#pragma once

#include "Outcome.h"

#include <QWidget>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class Session;

class LoginScreen : public QWidget {
    Q_OBJECT
public:
    explicit LoginScreen(Session &session, QWidget *parent = nullptr);

    // Done when the five output folders are set and exist; Refused otherwise, after one message
    // for each folder at fault, in the fixed order.
    Outcome checkOutputFolders();

    QLineEdit *userNameEdit;
    QPushButton *okButton;
    QPushButton *cancelButton;
    QLabel *versionLabel;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void initialise();
    void checkFolders();
    void onOk();
    void onCancel();
    bool onKey(QKeyEvent *event);

    Session &m_session;
    bool m_checked = false;
};
