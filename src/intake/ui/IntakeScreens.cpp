#include "IntakeScreens.h"

#include "ErrorListScreens.h"
#include "ScreenRegistry.h"
#include "frmOrd_Imp.h"

void registerIntakeScreens()
{
    ScreenRegistry::instance().add(QStringLiteral("frmOrd_Imp"), [] { return new frmOrd_Imp; });
    registerErrorListScreens();
}
