#include "RunStatistics.h"

#include "Db.h"

namespace {
constexpr int kLargeRun = 20000;
}

void refreshRunStatistics(Db &db, int lines)
{
    if (db.isPostgreSQL() && lines >= kLargeRun)
        db.exec(QStringLiteral("ANALYZE TBL_ORDER (FLG2)"));
}
