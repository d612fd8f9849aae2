// What the conversion and confirmation screens share: a window over the session's import date
// (shown read-only, brought up to date whenever the window comes forward), OK and Cancel
// buttons that Enter presses when they hold the focus, and Esc to close.
#pragma once

#include <QWidget>

class Session;

class QLineEdit;
class QPushButton;

class DayRunScreen : public QWidget {
    Q_OBJECT
public:
    QLineEdit *importDateEdit;
    QPushButton *okButton;
    QPushButton *cancelButton;

protected:
    DayRunScreen(Session &session, const QString &title, QWidget *parent);

    static QPushButton *button(const QString &name, const QString &caption);
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    virtual void onOk() = 0;

    Session &m_session;
};
