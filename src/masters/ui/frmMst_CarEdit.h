// The name-type edit screen "ネーム資材マスタ": one record of MST_CAR. The price and the counts
// take numbers only; an empty one is saved as 0.
#pragma once

#include "MasterEditScreen.h"

class frmMst_CarEdit : public MasterEditScreen {
    Q_OBJECT
public:
    explicit frmMst_CarEdit(QWidget *parent = nullptr);

    QLineEdit *txtCarCd;
    QLineEdit *txtLayout;
    QLineEdit *txtB1;
    QLineEdit *txtOCD;
    QLineEdit *txtDCD;
    QLineEdit *txtHin1;
    QLineEdit *txtHin2;
    QLineEdit *txtBiko1;
    QLineEdit *txtBiko2;
    QLineEdit *txtPrice;
    QLineEdit *txtSp0;
    QLineEdit *txtSp1;
    QLineEdit *txtSp2;
    QLineEdit *txtPacking;
    QLineEdit *txtYareSu;

protected:
    std::unique_ptr<MasterTable> createTable(Db &db) const override;

private:
    QLineEdit *numberInput(const QString &column, const char *objectName, bool decimals);
};
