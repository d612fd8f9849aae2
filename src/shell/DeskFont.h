// The desk's typeface: Japanese glyphs on every screen and in what a batch run paints.
#pragma once

#include <QFont>

inline QFont deskFont()
{
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(10);
    return font;
}
