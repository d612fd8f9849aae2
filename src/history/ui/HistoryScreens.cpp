#include "HistoryScreens.h"

#include "ScreenRegistry.h"

void registerHistoryScreens()
{
}
