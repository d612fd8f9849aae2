// What the menu builder needs of the menu window: the frame title, the sixteen entry
// captions and the command dispatch.
#pragma once

#include <QString>

class MenuWindow {
public:
    virtual ~MenuWindow() = default;
    virtual void setMenuTitle(const QString &title) = 0;
    // index 0 to 15 for entries 1 to 16.
    virtual void setEntryCaption(int index, const QString &caption) = 0;
    virtual void loadProcedure(const QString &word) = 0;
};
