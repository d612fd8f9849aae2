#include "ReportScreens.h"

#include "ScreenRegistry.h"
#include "frmOrd_Print.h"

void registerReportScreens()
{
    // The menu's OrderList, CarList and TotalList commands load this screen and call its
    // MP_Open (OpenWithMode) with the command word.
    ScreenRegistry::instance().add(QStringLiteral("frmOrd_Print"), [] { return new frmOrd_Print; });
}
