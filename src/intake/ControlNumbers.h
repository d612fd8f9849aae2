// Control numbers (管理No): the factory abbreviation, "-" and the number (three digits up to
// 999, then more), counted per business month and factory across every import of the month.
#pragma once

#include <QString>

class Db;

// Raises the counter of the business month and factory by `count` in one atomic upsert and
// returns its new value (the last number handed out); the first draw of a month gives 1.
// Throws DbError.
int nextControlNumber(Db &db, const QString &nen, const QString &tuki, const QString &fcRg,
                      int count = 1);

// "AB" + 7 -> "AB-007"; three digits up to 999 (what the printer room knows), then as many as
// it takes ("AB-1000"), so that no number is handed out twice in a month.
QString formatKnrNo(const QString &fcRg, int n);
