#include "IntakeScreens.h"

#include "ScreenRegistry.h"

void registerIntakeScreens()
{
}
