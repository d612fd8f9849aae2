#include "PeriodScreens.h"

#include "ImportDateDialog.h"
#include "MonthlyRegisterScreen.h"
#include "ScreenRegistry.h"

void registerPeriodScreens()
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.add(QStringLiteral("frmTukiSyori"), [] { return new MonthlyRegisterScreen; });
    registry.add(QStringLiteral("frmImpDate"), [] { return new ImportDateDialog; });
}
