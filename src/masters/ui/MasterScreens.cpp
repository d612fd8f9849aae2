#include "MasterScreens.h"

#include "FactoryEditScreen.h"
#include "FactoryListScreen.h"
#include "NameTypeEditScreen.h"
#include "NameTypeListScreen.h"
#include "QualityEditScreen.h"
#include "QualityListScreen.h"
#include "ScreenRegistry.h"
#include "SizeRowScreen.h"

void registerMasterScreens()
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.add(QStringLiteral("frmMst_Car"), &GridScreen::create<NameTypeListScreen>);
    registry.add(QStringLiteral("frmMst_CarEdit"), [] { return new NameTypeEditScreen; });
    registry.add(QStringLiteral("frmMst_Qul"), &GridScreen::create<QualityListScreen>);
    registry.add(QStringLiteral("frmMst_QulEdit"), [] { return new QualityEditScreen; });
    registry.add(QStringLiteral("frmMst_Fc"), &GridScreen::create<FactoryListScreen>);
    registry.add(QStringLiteral("frmMst_FcEdit"), [] { return new FactoryEditScreen; });
    registry.add(QStringLiteral("frmMst_TarvolinSize"), &GridScreen::create<SizeRowScreen>);
}
