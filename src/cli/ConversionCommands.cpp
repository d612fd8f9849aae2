#include "CommandRegistry.h"

void registerConversionCommands(CommandRegistry &)
{
}
