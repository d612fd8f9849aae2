#include "OrderCondition.h"

OrderCondition OrderCondition::where(const QString &before, const QVariant &value,
                                     const QString &after)
{
    OrderCondition c;
    c.m_text = QStringLiteral("Where ") + before + c.bind(value) + after + QLatin1Char(' ');
    return c;
}

OrderCondition &OrderCondition::add(const QString &term)
{
    m_text += QStringLiteral("And ") + term + QLatin1Char(' ');
    return *this;
}

OrderCondition &OrderCondition::add(const QString &before, const QVariant &value,
                                    const QString &after)
{
    const QString placeholder = bind(value);
    return add(before + placeholder + after);
}

QString OrderCondition::bind(const QVariant &value)
{
    // Named after the order condition, so that a statement can add its own parameters (:v,
    // :h_new ...) beside these; each placeholder is used once, as the PostgreSQL driver wants.
    const QString name = QStringLiteral("oc%1").arg(m_params.size() + 1);
    m_params.insert(name, value);
    return QLatin1Char(':') + name;
}
