#include "PeriodScreens.h"

#include "ScreenRegistry.h"
#include "frmImpDate.h"
#include "frmTukiSyori.h"

void registerPeriodScreens()
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.add(QStringLiteral("frmTukiSyori"), [] { return new frmTukiSyori; });
    registry.add(QStringLiteral("frmImpDate"), [] { return new frmImpDate; });
}
