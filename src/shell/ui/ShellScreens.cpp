#include "ShellScreens.h"

#include "ScreenRegistry.h"
#include "frmLogin.h"
#include "frmOption.h"
#include "frm_main.h"

void registerShellScreens()
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.add(QStringLiteral("frmLogin"), [] { return new frmLogin; });
    registry.add(QStringLiteral("frmOption"), [] { return new frmOption; });
    registry.add(QStringLiteral("frm_main"), [] { return new frm_main; });
}
