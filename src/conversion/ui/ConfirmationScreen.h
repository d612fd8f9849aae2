// The confirmation screen (確定): the counts of the session's import date and the
// confirmation of the whole date.
#pragma once

#include <QWidget>

class Session;

class QLineEdit;
class QPushButton;

class ConfirmationScreen : public QWidget {
    Q_OBJECT
public:
    explicit ConfirmationScreen(Session &session, QWidget *parent = nullptr);

    QLineEdit *importDateEdit;
    QLineEdit *totalEdit;
    QLineEdit *convertedEdit;
    QLineEdit *unconvertedEdit;
    QPushButton *okButton;
    QPushButton *cancelButton;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    Session &m_session;
    void buildControls();
    void initialise();
    void onActivated();
    void onOk();
};
