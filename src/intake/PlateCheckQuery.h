// The plate lists of a day (組成版チェック, サイズ版チェック): the letterpress lines whose key has
// no row in the plate master, or a row without a plate yet. Lines of one control number stay
// together, in line order.
#pragma once

#include <QString>
#include <QVariantMap>

// One plate master: the line's key field, the master joined on it, and its two conditions.
struct PlateMaster {
    QString keyField;
    QString master;
    QString missing;      // the key has no master row
    QString withoutPlate; // the master row has no plate

    static PlateMaster composition(); // MST_QULPLATE over QUL_KEY
    static PlateMaster size();        // MST_SIZ over SIZE_KEY
};

namespace PlateCheckQuery {
// KNR_NO, the key field and IMP_LN of the lines of the day bound by params(impDate).
QString sql(const PlateMaster &plate);
QVariantMap params(const QString &impDate);
} // namespace PlateCheckQuery
