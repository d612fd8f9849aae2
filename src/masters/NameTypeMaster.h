// The name-type master MST_CAR (ネーム資材マスタ): material codes, unit price, spare and
// spoilage counts of each name type. Written only by its edit screen.
#pragma once

#include "MasterTable.h"

class NameTypeMaster : public MasterTable {
public:
    using MasterTable::MasterTable;

    QString table() const override { return QStringLiteral("MST_CAR"); }
    QString keyColumn() const override { return QStringLiteral("CAR_CD"); }
    QStringList columns() const override;
    QString missingKeyMessage() const override;

    // The list screen's statement: every name type in code order.
    static QString listStatement();

    // The number an operator's input stands for: the leading number of "0" + text, so that an
    // empty input is 0 and whatever follows the number is ignored.
    static double numberOf(const QString &text);
    // The price as shown: "##0.00".
    static QString formatPrice(const QVariant &value);

protected:
    QVariant bindValue(const QString &column, const QString &text) const override;
    QString displayText(const QString &column, const QVariant &value) const override;

private:
    static bool isNumeric(const QString &column);
};
