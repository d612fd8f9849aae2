#include "BulkWorkTuning.h"

#include "Db.h"
#include "SqlDialect.h"

void tuneForDayWork(Db &db)
{
    db.dialect().tuneForDayWork(db);
}

void refreshDayStatistics(Db &db)
{
    // The flags too: every statement over a day's open (or error-free) lines would otherwise be
    // planned for a handful of them.
    db.dialect().refreshStatistics(db, QStringLiteral("TBL_ORDER"),
                                   {QStringLiteral("IMP_DATE"), QStringLiteral("LOT_NO"),
                                    QStringLiteral("FLG1"), QStringLiteral("FLG3"),
                                    QStringLiteral("FLG4")});
}
