#include "frmHan_SizeCheck.h"

frmHan_SizeCheck::frmHan_SizeCheck(QWidget *parent)
    : frmHan_SoseiCheck(Plate{QStringLiteral("サイズ版チェック"), QStringLiteral("SIZE_KEY"),
                              QStringLiteral("サイズキー"), QStringLiteral("MST_SIZ"),
                              QStringLiteral("MST_SIZ.SIZE_KEY Is Null "),
                              QStringLiteral("MST_SIZ.HAN_NO = ''  ")},
                        parent)
{
}
