// The quality edit screen "品質マスタ編集": one record of MST_QUL — key and symbol, the ten
// content rows (部位, 組成, 混率), the six care symbols chosen from MST_EHJ and the two notes.
// The layout numbers L2 to L4 are worked out on saving from what is filled.
#pragma once

#include "MasterEditScreen.h"

#include <array>

class frmMst_QulEdit : public MasterEditScreen {
    Q_OBJECT
public:
    explicit frmMst_QulEdit(QWidget *parent = nullptr);

    QLineEdit *txtQulKey;
    QLineEdit *txtQulNo;
    QLineEdit *txtL2;
    QLineEdit *txtL3;
    QLineEdit *txtL4;
    std::array<QLineEdit *, 10> txtBui{};
    std::array<QLineEdit *, 10> txtSos{};
    std::array<QLineEdit *, 10> txtKon{};
    std::array<QComboBox *, 6> cmbEhj{};
    std::array<QLineEdit *, 2> txtEFuki{};

    // Recomputes L2, L3 and L4 into their inputs from the rows, symbols and notes.
    void PP_LayoutSet();

protected:
    std::unique_ptr<MasterTable> createTable(Db &db) const override;
    void PP_ListSet(MasterTable &table) override;
    void beforeStamp() override { PP_LayoutSet(); }
};
