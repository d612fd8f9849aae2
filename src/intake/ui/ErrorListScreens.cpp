#include "ErrorListScreens.h"

void registerErrorListScreens()
{
}
