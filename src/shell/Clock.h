// The desk's notion of "now". Stamps and default dates come from here so that tests (and a
// batch run with OSTERA_FIXED_CLOCK="yyyy/MM/dd hh:mm:ss") can fix the time.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace Clock {
QDateTime now();
QDate today();
// "yyyy/mm/dd hh:mm:ss", zero-padded, 24-hour: text order is time order.
QString stamp();
QString stamp(const QDateTime &at);
// Fixes the clock; an invalid value returns to the system clock.
void setFixed(const QDateTime &at);
// Moves a fixed clock forward (no effect on the system clock).
void advance(qint64 seconds);
} // namespace Clock
