#include "Clock.h"

#include <QByteArray>

namespace {
QDateTime s_fixed;
bool s_envRead = false;

void readEnvironmentOnce()
{
    if (s_envRead)
        return;
    s_envRead = true;
    const QByteArray fixed = qgetenv("OSTERA_FIXED_CLOCK");
    if (!fixed.isEmpty())
        s_fixed = QDateTime::fromString(QString::fromUtf8(fixed), QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}
} // namespace

namespace Clock {

QDateTime now()
{
    readEnvironmentOnce();
    return s_fixed.isValid() ? s_fixed : QDateTime::currentDateTime();
}

QDate today()
{
    return now().date();
}

QString stamp(const QDateTime &at)
{
    return at.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

QString stamp()
{
    return stamp(now());
}

void setFixed(const QDateTime &at)
{
    s_envRead = true;
    s_fixed = at;
}

void advance(qint64 seconds)
{
    if (s_fixed.isValid())
        s_fixed = s_fixed.addSecs(seconds);
}

} // namespace Clock
