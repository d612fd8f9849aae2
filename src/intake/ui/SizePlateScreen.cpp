#include "SizePlateScreen.h"

SizePlateScreen::SizePlateScreen(Session &session, QWidget *parent)
    : CompositionPlateScreen(session,
                             Plate{QStringLiteral("サイズ版チェック"), QStringLiteral("SIZE_KEY"),
                                   QStringLiteral("サイズキー"), QStringLiteral("MST_SIZ"),
                                   QStringLiteral("MST_SIZ.SIZE_KEY Is Null "),
                                   QStringLiteral("MST_SIZ.HAN_NO = ''  ")},
                             parent)
{
}
