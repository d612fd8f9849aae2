#include "OrdersScreens.h"

#include "ScreenRegistry.h"

void registerOrdersScreens()
{
}
