#include "ShellScreens.h"

#include "LoginScreen.h"
#include "MainMenuScreen.h"
#include "OptionsScreen.h"
#include "ScreenRegistry.h"

void registerShellScreens()
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.add(QStringLiteral("frmLogin"), [] { return new LoginScreen; });
    registry.add(QStringLiteral("frmOption"), [] { return new OptionsScreen; });
    registry.add(QStringLiteral("frm_main"), [] { return new MainMenuScreen; });
}
