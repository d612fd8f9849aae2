#include "ConversionScreens.h"

#include "ScreenRegistry.h"
#include "frmOrd_Henkan.h"
#include "frmOrd_Kakutei.h"

void registerConversionScreens()
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.add(QStringLiteral("frmOrd_Henkan"), [] { return new frmOrd_Henkan; });
    registry.add(QStringLiteral("frmOrd_Kakutei"), [] { return new frmOrd_Kakutei; });
}
