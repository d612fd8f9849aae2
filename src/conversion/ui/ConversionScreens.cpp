#include "ConversionScreens.h"

#include "ConfirmationScreen.h"
#include "ConversionScreen.h"
#include "ScreenRegistry.h"

void registerConversionScreens()
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.add(QStringLiteral("frmOrd_Henkan"), [] { return new ConversionScreen; });
    registry.add(QStringLiteral("frmOrd_Kakutei"), [] { return new ConfirmationScreen; });
}
