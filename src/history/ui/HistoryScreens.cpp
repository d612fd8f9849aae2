#include "HistoryScreens.h"

#include "ScreenRegistry.h"
#include "frmOrd_LineHistory.h"
#include "frmRunHistory.h"

void registerHistoryScreens()
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.add(QStringLiteral("frmRunHistory"), &GridScreen::create<frmRunHistory>);
    registry.add(QStringLiteral("frmOrd_LineHistory"), [] { return new frmOrd_LineHistory; });
}
