// The find dialog (検索) of the order edit screen. Loaded hidden when the edit screen opens so
// that its lists hold the values of the import date; F4 shows it modally. OK turns the criteria
// into the current order condition gWhere and refills the edit grid; Cancel leaves gWhere as
// it was. Both unload the dialog, so the next F4 starts with empty criteria.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
struct OrderFindCriteria;

class frmOrd_Find : public QDialog {
    Q_OBJECT
public:
    explicit frmOrd_Find(QWidget *parent = nullptr);

    OrderFindCriteria criteria() const;

    QLineEdit *txtImpDate;
    QComboBox *cmbFcRg;
    QComboBox *cmbSetDate1;
    QComboBox *cmbSetDate2;
    QComboBox *cmbHinban;
    QComboBox *cmbKnrNo;
    QComboBox *cmbLotNo;
    QComboBox *cmbLotSu1;
    QComboBox *cmbLotSu2;
    QComboBox *cmbLotAvg1;
    QComboBox *cmbLotAvg2;
    QComboBox *cmbFlg5;
    QComboBox *cmbCarCd;
    QComboBox *cmbQulCd;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void Form_Activate();
    void PP_ListSet();
    void cmdOk_Click();
};
