#include "AllScreens.h"

#include "ConversionScreens.h"
#include "HistoryScreens.h"
#include "IntakeScreens.h"
#include "MasterScreens.h"
#include "OrdersScreens.h"
#include "PeriodScreens.h"
#include "ReportScreens.h"
#include "ShellScreens.h"

void registerAllScreens()
{
    registerShellScreens();
    registerPeriodScreens();
    registerIntakeScreens();
    registerConversionScreens();
    registerReportScreens();
    registerOrdersScreens();
    registerMasterScreens();
    registerHistoryScreens();
}
