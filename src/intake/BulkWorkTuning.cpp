#include "BulkWorkTuning.h"

#include "Db.h"

void tuneForDayWork(Db &db)
{
    if (!db.isPostgreSQL())
        return;
    db.exec(QStringLiteral("SET LOCAL jit = off"));
    // Every join here pairs a whole day of lines with masters, lot totals or the day's lines
    // again: hashed, that is one pass over each side. Nested, it is one pass of the inner side
    // per line, which the planner only chooses when it takes the day for a handful of lines
    // (a day loaded without statistics yet) and which then costs minutes instead of seconds.
    db.exec(QStringLiteral("SET LOCAL enable_nestloop = off"));
}

void refreshDayStatistics(Db &db)
{
    // The flags too: every statement over a day's open (or error-free) lines would otherwise be
    // planned for a handful of them.
    if (db.isPostgreSQL())
        db.exec(QStringLiteral("ANALYZE TBL_ORDER (IMP_DATE, LOT_NO, FLG1, FLG3, FLG4)"));
}
