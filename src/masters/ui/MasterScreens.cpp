#include "MasterScreens.h"

#include "ScreenRegistry.h"

void registerMasterScreens()
{
}
