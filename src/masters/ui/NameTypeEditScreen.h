// The name-type edit screen "ネーム資材マスタ": one record of MST_CAR. The price and the counts
// take numbers only; an empty one is saved as 0.
#pragma once

#include "MasterEditScreen.h"

class NameTypeEditScreen : public MasterEditScreen {
    Q_OBJECT
public:
    explicit NameTypeEditScreen(Session &session, QWidget *parent = nullptr);

    QLineEdit *nameTypeEdit;
    QLineEdit *layoutEdit;
    QLineEdit *coverLayoutEdit;
    QLineEdit *oMaterialCodeEdit;
    QLineEdit *dMaterialCodeEdit;
    QLineEdit *productName1Edit;
    QLineEdit *productName2Edit;
    QLineEdit *note1Edit;
    QLineEdit *note2Edit;
    QLineEdit *priceEdit;
    QLineEdit *spareBaseEdit;
    QLineEdit *spare1Edit;
    QLineEdit *spare2Edit;
    QLineEdit *packingEdit;
    QLineEdit *wasteEdit;

protected:
    std::unique_ptr<MasterTable> createTable(Db &db) const override;

private:
    QLineEdit *numberInput(const QString &column, const char *objectName, bool decimals);
};
