// The factory edit screen "工場マスタ編集": one record of MST_FACTORY. The origin is chosen
// from 日本製, 中国製, 韓国製 or typed freely.
#pragma once

#include "MasterEditScreen.h"

class FactoryEditScreen : public MasterEditScreen {
    Q_OBJECT
public:
    explicit FactoryEditScreen(Session &session, QWidget *parent = nullptr);

    QLineEdit *factorySymbolEdit;
    QLineEdit *factoryCodeEdit;
    QLineEdit *shortNameEdit;
    QLineEdit *factoryNameEdit;
    QComboBox *originCombo;
    QLineEdit *address1Edit;
    QLineEdit *address2Edit;
    QLineEdit *phoneEdit;
    QLineEdit *faxEdit;
    QLineEdit *billingCodeEdit;
    QLineEdit *deliveryCodeEdit;
    QLineEdit *waybillCodeEdit;
    QLineEdit *note1Edit;
    QLineEdit *note2Edit;

protected:
    std::unique_ptr<MasterTable> createTable(Db &db) const override;
    void fillLists(MasterTable &table) override;
};
