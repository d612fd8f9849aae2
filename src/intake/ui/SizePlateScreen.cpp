#include "SizePlateScreen.h"

SizePlateScreen::SizePlateScreen(QWidget *parent)
    : CompositionPlateScreen(Plate{QStringLiteral("サイズ版チェック"), QStringLiteral("SIZE_KEY"),
                                   QStringLiteral("サイズキー"), QStringLiteral("MST_SIZ"),
                                   QStringLiteral("MST_SIZ.SIZE_KEY Is Null "),
                                   QStringLiteral("MST_SIZ.HAN_NO = ''  ")},
                             parent)
{
}
