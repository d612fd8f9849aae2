// The demo masters (data/demo/*.csv, built into the program) and the opening of a business
// month: what `init-db --demo`, `ostera demo`, tests and benchmarks start from.
#pragma once

#include <QDate>
#include <QString>

class Db;

namespace DemoData {

// The folder of the demo master files inside the program.
QString mastersDir();

// Replaces every master table by the demo masters in one transaction; throws DbError when they
// cannot be loaded.
void loadMasters(Db &db);

// Opens the business month of `today` (SYS_TUKI, KAKUTEI_FLG '0') unless a month is open
// already; true when it opened one.
bool openBusinessMonth(Db &db, const QDate &today);

} // namespace DemoData
