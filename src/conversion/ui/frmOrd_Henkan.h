// The conversion screen (変換): the operator's conditions for a run over the import date of
// gImpDate, the run itself, and the cancel of the latest run (前回変換Cancel).
#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmOrd_Henkan : public QWidget {
    Q_OBJECT
public:
    explicit frmOrd_Henkan(QWidget *parent = nullptr);

    QLineEdit *txtImpDate;
    QComboBox *cmbSetDate1;
    QComboBox *cmbSetDate2;
    QComboBox *cmbFlg5;
    QRadioButton *Option1[3];
    QPushButton *cmdOk;
    QPushButton *cmdCancel;
    QPushButton *cmdHenCancel;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void Form_Activate();
    void PP_ComboSet();
    void cmdOk_Click();
    void cmdHenCancel_Click();
};
