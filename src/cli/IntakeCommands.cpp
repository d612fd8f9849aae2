#include "CommandRegistry.h"

void registerIntakeCommands(CommandRegistry &)
{
}
