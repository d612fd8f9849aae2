#include "OrdersScreens.h"

#include "BulkUpdateDialog.h"
#include "ConfirmedOrdersScreen.h"
#include "OrderEditScreen.h"
#include "OrderFindDialog.h"
#include "ScreenRegistry.h"

void registerOrdersScreens()
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.add(QStringLiteral("frmOrd_Edit"), &GridScreen::create<OrderEditScreen>);
    registry.add(QStringLiteral("frmOrd_Find"), [] { return new OrderFindDialog; });
    registry.add(QStringLiteral("frmOrd_Update"), [] { return new BulkUpdateDialog; });
    registry.add(QStringLiteral("frmOrd_Sansyou"), &GridScreen::create<ConfirmedOrdersScreen>);
}
