#include "BulkWorkTuning.h"

#include "Db.h"

void tuneForDayWork(Db &db)
{
    if (db.isPostgreSQL())
        db.exec(QStringLiteral("SET LOCAL jit = off"));
}

void refreshDayStatistics(Db &db)
{
    if (db.isPostgreSQL())
        db.exec(QStringLiteral("ANALYZE TBL_ORDER (IMP_DATE, LOT_NO)"));
}
