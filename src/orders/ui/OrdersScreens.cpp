#include "OrdersScreens.h"

#include "ScreenRegistry.h"
#include "frmOrd_Edit.h"
#include "frmOrd_Find.h"
#include "frmOrd_Sansyou.h"
#include "frmOrd_Update.h"

void registerOrdersScreens()
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.add(QStringLiteral("frmOrd_Edit"), &GridScreen::create<frmOrd_Edit>);
    registry.add(QStringLiteral("frmOrd_Find"), [] { return new frmOrd_Find; });
    registry.add(QStringLiteral("frmOrd_Update"), [] { return new frmOrd_Update; });
    registry.add(QStringLiteral("frmOrd_Sansyou"), &GridScreen::create<frmOrd_Sansyou>);
}
