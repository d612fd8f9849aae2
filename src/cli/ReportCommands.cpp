#include "CommandRegistry.h"

void registerReportCommands(CommandRegistry &)
{
}
