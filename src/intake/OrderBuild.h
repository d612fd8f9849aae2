// The build of a day's order lines: TBL_ORDER's lines of the day replaced by the numbered
// work rows, written once with what the masters give them (the enrichment that follows in its
// own transaction then only confirms them, or completes what changed in between).
#pragma once

#include "Outcome.h"

#include <QString>

class Db;
class Dialogs;

// Done, or Failed after the database error's message.
Outcome buildOrders(Db &db, Dialogs &dialogs, const QString &impDate);

// The manufacturer written on every built line: 株式会社 and オステラ with a full-width space.
QString manufacturerText();
