// An order condition, or a statement with its bound values, read as text: the values written
// in as the database would read them (quoted by Db::quote), so that tests compare with the
// text the desk has always built ("Where IMP_DATE = '20261208' And FLG3 = '0' ...").
#pragma once

#include "Db.h"
#include "OrderCondition.h"

// The same for a whole statement and the values bound to it (a grid's statement).
inline QString conditionText(const QString &text, const QVariantMap &params)
{
    return Db::withLiterals(text, params);
}

inline QString conditionText(const OrderCondition &condition)
{
    return conditionText(condition.text(), condition.params());
}
