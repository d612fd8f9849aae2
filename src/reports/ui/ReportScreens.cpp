#include "ReportScreens.h"

#include "PrintScreen.h"
#include "ScreenRegistry.h"

void registerReportScreens()
{
    // The menu's OrderList, CarList and TotalList commands load this screen and call its
    // openModal (OpenWithMode) with the command word.
    ScreenRegistry::instance().add(QStringLiteral("frmOrd_Print"), [] { return new PrintScreen; });
}
