// The monthly-business screen "月次処理設定" (modal): the register of business months, newest
// first, and its three actions: create a month, confirm the open month, reopen a month.
#pragma once

#include "MonthlyRegister.h"

#include <QDialog>

#include <functional>

class Session;

class QKeyEvent;
class QLineEdit;
class QPushButton;
class QTableWidget;

class MonthlyRegisterScreen : public QDialog {
    Q_OBJECT
public:
    explicit MonthlyRegisterScreen(Session &session, QWidget *parent = nullptr);

    QLineEdit *newYearEdit;
    QLineEdit *newMonthEdit;
    QPushButton *newMonthButton;
    QLineEdit *confirmYearEdit;
    QLineEdit *confirmMonthEdit;
    QPushButton *confirmButton;
    QLineEdit *reopenYearEdit;
    QLineEdit *reopenMonthEdit;
    QPushButton *reopenButton;
    QTableWidget *gridView;

private:
    Session &m_session;
    void initialise();
    void fillGrid();
    void onGridRowChanged();
    void onNewMonth();
    void onConfirm();
    void onReopen();
    void changeMonthState(const std::function<Outcome(MonthlyRegister &)> &change);
    bool onKey(QKeyEvent *event);
};
