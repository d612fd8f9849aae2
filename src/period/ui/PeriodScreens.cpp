#include "PeriodScreens.h"

#include "ScreenRegistry.h"

void registerPeriodScreens()
{
}
