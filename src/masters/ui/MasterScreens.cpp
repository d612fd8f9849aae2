#include "MasterScreens.h"

#include "ScreenRegistry.h"
#include "frmMst_Car.h"
#include "frmMst_CarEdit.h"
#include "frmMst_Fc.h"
#include "frmMst_FcEdit.h"
#include "frmMst_Qul.h"
#include "frmMst_QulEdit.h"
#include "frmMst_TarvolinSize.h"

void registerMasterScreens()
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.add(QStringLiteral("frmMst_Car"), &GridScreen::create<frmMst_Car>);
    registry.add(QStringLiteral("frmMst_CarEdit"), [] { return new frmMst_CarEdit; });
    registry.add(QStringLiteral("frmMst_Qul"), &GridScreen::create<frmMst_Qul>);
    registry.add(QStringLiteral("frmMst_QulEdit"), [] { return new frmMst_QulEdit; });
    registry.add(QStringLiteral("frmMst_Fc"), &GridScreen::create<frmMst_Fc>);
    registry.add(QStringLiteral("frmMst_FcEdit"), [] { return new frmMst_FcEdit; });
    registry.add(QStringLiteral("frmMst_TarvolinSize"), &GridScreen::create<frmMst_TarvolinSize>);
}
