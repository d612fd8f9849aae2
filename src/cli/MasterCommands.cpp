#include "CommandRegistry.h"

void registerMasterCommands(CommandRegistry &) {}
