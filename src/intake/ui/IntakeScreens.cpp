#include "IntakeScreens.h"

#include "ErrorListScreens.h"
#include "ScreenRegistry.h"

void registerIntakeScreens()
{
    registerErrorListScreens();
}
