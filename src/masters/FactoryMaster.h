// The factory master MST_FACTORY (工場マスタ): names, country of origin, addresses and the
// billing, delivery and shipping codes of each factory abbreviation.
#pragma once

#include "MasterTable.h"

class FactoryMaster : public MasterTable {
public:
    using MasterTable::MasterTable;

    QString table() const override { return QStringLiteral("MST_FACTORY"); }
    QString keyColumn() const override { return QStringLiteral("FC_RG"); }
    QStringList columns() const override;
    QString missingKeyMessage() const override;

    // The origins offered on the edit screen; the operator may type another.
    static QStringList PP_GensanList();
};
