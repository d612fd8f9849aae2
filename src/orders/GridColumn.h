// One column of a grid screen, in the order the screen adds it: heading, the result field it
// shows (also the name the column is looked up by), width in twips, and its options.
#pragma once

#include <QString>

struct GridColumn {
    GridColumn() = default;
    GridColumn(const QString &caption, const QString &field, int widthTwips)
        : caption(caption), field(field), widthTwips(widthTwips)
    {
    }

    QString caption;
    QString field;
    int widthTwips = 1000;
    bool visible = true;
    bool locked = false;
    // Display format of numbers, e.g. "##0.00"; empty shows the value as it comes.
    QString numberFormat;

    GridColumn &hidden()
    {
        visible = false;
        return *this;
    }
    GridColumn &readOnly()
    {
        locked = true;
        return *this;
    }
    GridColumn &format(const QString &f)
    {
        numberFormat = f;
        return *this;
    }

    int widthPixels() const { return twipsToPixels(widthTwips); }

    // The screens were drawn at 96 dpi, where 15 twips make one pixel.
    static constexpr int twipsToPixels(int twips) { return twips / 15; }
};
