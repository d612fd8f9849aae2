// A screen the main menu opens with a mode word (the print screen: "OrderList", "CarList",
// "TotalList"). The menu loads it through the ScreenRegistry and calls openModal with the word.
#pragma once

#include <QString>

class OpenWithMode {
public:
    virtual ~OpenWithMode() = default;
    virtual void openModal(const QString &mode) = 0;
};
