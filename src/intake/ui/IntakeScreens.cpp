#include "IntakeScreens.h"

#include "ErrorListScreens.h"
#include "ImportScreen.h"
#include "ScreenRegistry.h"

void registerIntakeScreens()
{
    ScreenRegistry::instance().add(QStringLiteral("frmOrd_Imp"), [] { return new ImportScreen; });
    registerErrorListScreens();
}
