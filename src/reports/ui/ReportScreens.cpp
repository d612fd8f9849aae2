#include "ReportScreens.h"

#include "ScreenRegistry.h"

void registerReportScreens()
{
}
