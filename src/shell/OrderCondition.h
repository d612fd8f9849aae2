// The current order condition: which lines of TBL_ORDER the order screens work on. It travels
// from the import-date picker, the find dialog, the conversion and the confirmation to the
// edit grid, the bulk update and the history. Every value the operator typed or picked is a
// bound parameter, so a quote or a Like wildcard in it can never change the statement.
//
//   OrderCondition c = OrderCondition::where(QStringLiteral("IMP_DATE = "), impDate);
//   c.add(QStringLiteral("FLG3 = '0'"));
//   db.rows(QStringLiteral("SELECT * FROM TBL_ORDER ") + c.text(), c.params());
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <utility>

class OrderCondition {
public:
    OrderCondition() = default;
    // A condition written whole: text "Where ... " whose values are placeholders of params.
    explicit OrderCondition(QString text, QVariantMap params = {})
        : m_text(std::move(text)), m_params(std::move(params))
    {
    }

    // "Where " + before + a placeholder bound to value (+ after).
    static OrderCondition where(const QString &before, const QVariant &value,
                                const QString &after = QString());

    // Appends "And " + term, with no value of its own (flags, fixed texts).
    OrderCondition &add(const QString &term);
    // Appends "And " + before + a placeholder bound to value + after.
    OrderCondition &add(const QString &before, const QVariant &value,
                        const QString &after = QString());
    // A placeholder bound to value, for a term built from several (Between ... And ...).
    QString bind(const QVariant &value);

    // "Where ... " (ends with a blank); empty when no condition was set.
    const QString &text() const { return m_text; }
    const QVariantMap &params() const { return m_params; }
    bool isEmpty() const { return m_text.isEmpty(); }

    bool operator==(const OrderCondition &other) const
    {
        return m_text == other.m_text && m_params == other.m_params;
    }
    bool operator!=(const OrderCondition &other) const { return !(*this == other); }

private:
    QString m_text;
    QVariantMap m_params;
};
