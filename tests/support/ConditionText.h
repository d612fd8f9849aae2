// An order condition, or a statement with its bound values, read as text: the values written
// in as the database would read them (quoted by Db::quote), so that tests compare with the
// text the desk has always built ("Where IMP_DATE = '20261208' And FLG3 = '0' ...").
#pragma once

#include "Db.h"
#include "OrderCondition.h"

#include <QRegularExpression>

// The same for a whole statement and the values bound to it (a grid's statement).
inline QString conditionText(const QString &text, const QVariantMap &params)
{
    static const QRegularExpression placeholder(QStringLiteral(":([A-Za-z_][A-Za-z0-9_]*)"));
    QString out;
    qsizetype at = 0;
    for (auto it = placeholder.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const auto value = params.constFind(m.captured(1));
        if (value == params.constEnd())
            continue;
        out += text.mid(at, m.capturedStart() - at) + Db::quote(value.value().toString());
        at = m.capturedEnd();
    }
    return out + text.mid(at);
}

inline QString conditionText(const OrderCondition &condition)
{
    return conditionText(condition.text(), condition.params());
}
