// The import dates the order screens work on: the days of SYS_IMPDATE not yet confirmed, and
// the condition (gWhere) that selects a day's unconverted, unconfirmed lines.
#pragma once

#include <QString>
#include <QStringList>

class Db;

namespace ImportDates {

// IMP_DATE of every unconfirmed import, newest first.
QStringList unconfirmed(Db &db);

// "Where IMP_DATE = '20261208' And FLG3 = '0' And FLG4 = '0' " (ends with a blank); the date
// is quoted so that an apostrophe cannot break the condition.
QString whereFor(const QString &impDate);

} // namespace ImportDates
