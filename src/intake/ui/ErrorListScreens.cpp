#include "ErrorListScreens.h"

#include "ScreenRegistry.h"
#include "frmHan_SizeCheck.h"
#include "frmHan_SoseiCheck.h"
#include "frmOrd_ErrCheck.h"
#include "frmOrd_ErrView.h"

void registerErrorListScreens()
{
    ScreenRegistry &screens = ScreenRegistry::instance();
    screens.add(QStringLiteral("frmOrd_ErrView"), &GridScreen::create<frmOrd_ErrView>);
    screens.add(QStringLiteral("frmHan_SoseiCheck"), &GridScreen::create<frmHan_SoseiCheck>);
    screens.add(QStringLiteral("frmHan_SizeCheck"), &GridScreen::create<frmHan_SizeCheck>);
    screens.add(QStringLiteral("frmOrd_ErrCheck"), [] { return new frmOrd_ErrCheck; });
}
