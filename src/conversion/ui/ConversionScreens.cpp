#include "ConversionScreens.h"

#include "ScreenRegistry.h"

void registerConversionScreens() {}
