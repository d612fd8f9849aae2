#include "ShellScreens.h"

#include "ScreenRegistry.h"

void registerShellScreens()
{
}
