#include "CommandRegistry.h"

void registerPeriodCommands(CommandRegistry &)
{
}
