#include "RunStatistics.h"

#include "Db.h"
#include "SqlDialect.h"

namespace {
constexpr int kLargeRun = 20000;
}

void refreshRunStatistics(Db &db, int lines)
{
    if (lines >= kLargeRun)
        db.dialect().refreshStatistics(db, QStringLiteral("TBL_ORDER"), {QStringLiteral("FLG2")});
}
