// The monthly-business screen "月次処理設定" (modal): the register of business months, newest
// first, and its three actions: create a month, confirm the open month, reopen a month.
#pragma once

#include "MonthlyRegister.h"

#include <QDialog>

#include <functional>

class QKeyEvent;
class QLineEdit;
class QPushButton;
class QTableWidget;

class frmTukiSyori : public QDialog {
    Q_OBJECT
public:
    explicit frmTukiSyori(QWidget *parent = nullptr);

    QLineEdit *txtNewNen;
    QLineEdit *txtNewTuki;
    QPushButton *cmdNew;
    QLineEdit *txtNen;
    QLineEdit *txtTuki;
    QPushButton *cmdKakutei;
    QLineEdit *txtCanNen;
    QLineEdit *txtCanTuki;
    QPushButton *cmdCancel;
    QTableWidget *TDBGrid1;

private:
    void Form_Load();
    void PP_GridSet();
    void TDBGrid1_RowColChange();
    void cmdNew_Click();
    void cmdKakutei_Click();
    void cmdCancel_Click();
    void changeMonthState(const std::function<MonthlyRegister::Outcome(MonthlyRegister &)> &change);
    bool onKey(QKeyEvent *event);
};
