// The factory edit screen "工場マスタ編集": one record of MST_FACTORY. The origin is chosen
// from 日本製, 中国製, 韓国製 or typed freely.
#pragma once

#include "MasterEditScreen.h"

class frmMst_FcEdit : public MasterEditScreen {
    Q_OBJECT
public:
    explicit frmMst_FcEdit(QWidget *parent = nullptr);

    QLineEdit *txtFcRg;
    QLineEdit *txtFcCd;
    QLineEdit *txtFcRnm;
    QLineEdit *txtFcNm;
    QComboBox *cmbGensan;
    QLineEdit *txtAdress1;
    QLineEdit *txtAdress2;
    QLineEdit *txtTel;
    QLineEdit *txtFax;
    QLineEdit *txtSeiNo;
    QLineEdit *txtNouNo;
    QLineEdit *txtOkrNo;
    QLineEdit *txtBiko1;
    QLineEdit *txtBiko2;

protected:
    std::unique_ptr<MasterTable> createTable(Db &db) const override;
    void PP_ListSet(MasterTable &table) override;
};
