#include "globals.h"

QString gProvider;
QString gServerName;
QString gDbName;
QString gDbUser;
QString gDbPassword;
int gTimeout = 20;
QString gDbSchema;

QString gUserName;
QString gComputerName;

QString gVersion;

QString gIniPath;
QString gInstallDir;

void resetGlobals()
{
    gProvider.clear();
    gServerName.clear();
    gDbName.clear();
    gDbUser.clear();
    gDbPassword.clear();
    gTimeout = 20;
    gDbSchema.clear();
    gUserName.clear();
    gComputerName.clear();
    gVersion.clear();
    gIniPath.clear();
    gInstallDir.clear();
}
