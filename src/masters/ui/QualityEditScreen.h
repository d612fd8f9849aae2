// The quality edit screen "品質マスタ編集": one record of MST_QUL — key and symbol, the ten
// content rows (部位, 組成, 混率), the six care symbols chosen from MST_EHJ and the two notes.
// The layout numbers L2 to L4 are worked out on saving from what is filled.
#pragma once

#include "MasterEditScreen.h"

#include <array>

class QualityEditScreen : public MasterEditScreen {
    Q_OBJECT
public:
    explicit QualityEditScreen(Session &session, QWidget *parent = nullptr);

    QLineEdit *qualityKeyEdit;
    QLineEdit *qualitySymbolEdit;
    QLineEdit *layout2Edit;
    QLineEdit *layout3Edit;
    QLineEdit *layout4Edit;
    std::array<QLineEdit *, 10> partEdits{};
    std::array<QLineEdit *, 10> compositionEdits{};
    std::array<QLineEdit *, 10> ratioEdits{};
    std::array<QComboBox *, 6> symbolCombos{};
    std::array<QLineEdit *, 2> symbolNoteEdits{};

    // Recomputes L2, L3 and L4 into their inputs from the rows, symbols and notes.
    void setLayoutCodes();

protected:
    std::unique_ptr<MasterTable> createTable(Db &db) const override;
    void fillLists(MasterTable &table) override;
    void beforeStamp() override { setLayoutCodes(); }
};
