// The import dates the order screens work on: the days of SYS_IMPDATE not yet confirmed, and
// the order condition that selects a day's unconverted, unconfirmed lines.
#pragma once

#include "OrderCondition.h"

#include <QString>
#include <QStringList>

class Db;

namespace ImportDates {

// IMP_DATE of every unconfirmed import, newest first.
QStringList unconfirmed(Db &db);

// The day's lines neither converted nor confirmed (IMP_DATE bound, FLG3 = '0', FLG4 = '0').
OrderCondition whereFor(const QString &impDate);

} // namespace ImportDates
