#include "SizePlateScreen.h"

SizePlateScreen::SizePlateScreen(Session &session, QWidget *parent)
    : CompositionPlateScreen(session,
                             Plate{QStringLiteral("サイズ版チェック"), QStringLiteral("サイズキー"),
                                   PlateMaster::size()},
                             parent)
{
}
