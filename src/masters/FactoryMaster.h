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
    QString keyRefusal(const QString &key) const override { return codeRefusal(key); }

    // Control numbers, and through them print file names, begin with the factory
    // abbreviation: one that holds "/" or "\" or starts with "." is refused at save and at
    // load, naming the character; "" for a usable (or empty) abbreviation.
    static QString codeRefusal(const QString &fcRg);

    // The list screen's statement: every factory in abbreviation order.
    static QString listStatement();

    // The origins offered on the edit screen; the operator may type another.
    static QStringList origins();
};
