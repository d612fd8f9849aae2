// The quality master MST_QUL (品質マスタ): the fibre content rows, care symbols and notes of a
// quality key, and the three layout numbers derived from how much of them is filled.
#pragma once

#include "MasterTable.h"

class QualityMaster : public MasterTable {
public:
    static constexpr int kRows = 10;
    static constexpr int kSymbols = 6;
    static constexpr int kNotes = 2;

    using MasterTable::MasterTable;

    QString table() const override { return QStringLiteral("MST_QUL"); }
    QString keyColumn() const override { return QStringLiteral("QUL_KEY"); }
    QStringList columns() const override;
    QString missingKeyMessage() const override;

    // Every quality in key order: the list screen's statement and the quality CSV's rows.
    static QString listStatement();

    // The care-symbol numbers offered for EHJ1 ... EHJ6, in order.
    QStringList careSymbols();

    // Sets LAYOUT2 (symbols: 1 up to two, 2 up to four, 3 up to six), LAYOUT3 (content rows:
    // 1 up to six, 2 up to ten) and LAYOUT4 (notes: 1 none, 2 note 1 last, 3 note 2) from the
    // highest filled position; gaps below it count as used. Whatever was typed is replaced.
    static void setLayoutCodes(MasterValues &values);

    // Field names: "BUI" + 3 -> "BUI3".
    static QString numbered(const QString &name, int n) { return name + QString::number(n); }
};
