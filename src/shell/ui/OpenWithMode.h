// A screen the main menu opens with a mode word (the print screen: "OrderList", "CarList",
// "TotalList"). The menu loads it through the ScreenRegistry and calls MP_Open with the word.
#pragma once

#include <QString>

class OpenWithMode {
public:
    virtual ~OpenWithMode() = default;
    virtual void MP_Open(const QString &mode) = 0;
};
