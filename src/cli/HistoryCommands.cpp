#include "CommandRegistry.h"

void registerHistoryCommands(CommandRegistry &)
{
}
