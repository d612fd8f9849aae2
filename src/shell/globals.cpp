#include "globals.h"

QString gProvider;
QString gServerName;
QString gDbName;
QString gDbUser;
QString gDbPassword;
int gTimeout = 20;
QString gDbSchema;

QString gLPrinter;
QString gDPrinter;
QString gUserName;

QString gCarDir;
QString gKakDir;
QString gHanDir;
QString gStkDir;
QString gShtDir;

QString gVersion;
QString gComputerName;

QString gIniPath;
QString gInstallDir;

Db *gCn = nullptr;
int gOpenCount = 0;

QString gSQL;
QString gImpDate;
QString gWhere;

void resetGlobals()
{
    gProvider.clear();
    gServerName.clear();
    gDbName.clear();
    gDbUser.clear();
    gDbPassword.clear();
    gTimeout = 20;
    gDbSchema.clear();
    gLPrinter.clear();
    gDPrinter.clear();
    gUserName.clear();
    gCarDir.clear();
    gKakDir.clear();
    gHanDir.clear();
    gStkDir.clear();
    gShtDir.clear();
    gVersion.clear();
    gComputerName.clear();
    gIniPath.clear();
    gInstallDir.clear();
    gSQL.clear();
    gImpDate.clear();
    gWhere.clear();
}
