#include "RunStatistics.h"

#include "Db.h"

void refreshRunStatistics(Db &db)
{
    if (db.isPostgreSQL())
        db.exec(QStringLiteral("ANALYZE TBL_ORDER (FLG2)"));
}
