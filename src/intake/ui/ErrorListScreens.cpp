#include "ErrorListScreens.h"

#include "CompositionPlateScreen.h"
#include "ErrorListScreen.h"
#include "RecheckScreen.h"
#include "ScreenRegistry.h"
#include "SizePlateScreen.h"

void registerErrorListScreens()
{
    ScreenRegistry &screens = ScreenRegistry::instance();
    screens.add(QStringLiteral("frmOrd_ErrView"), &GridScreen::create<ErrorListScreen>);
    screens.add(QStringLiteral("frmHan_SoseiCheck"), &GridScreen::create<CompositionPlateScreen>);
    screens.add(QStringLiteral("frmHan_SizeCheck"), &GridScreen::create<SizePlateScreen>);
    screens.add(QStringLiteral("frmOrd_ErrCheck"), [] { return new RecheckScreen; });
}
