#include "HistoryScreens.h"

#include "LineHistoryScreen.h"
#include "RunHistoryScreen.h"
#include "ScreenRegistry.h"

void registerHistoryScreens()
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    registry.add(QStringLiteral("frmRunHistory"), &GridScreen::create<RunHistoryScreen>);
    registry.add(QStringLiteral("frmOrd_LineHistory"), [] { return new LineHistoryScreen; });
}
