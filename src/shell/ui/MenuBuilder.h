// Shows one level of the menu file in the menu window and carries out the choice of an
// entry: M shows another level, F opens a screen by its form name, S runs a command word.
#pragma once

#include "MenuFile.h"

#include <QString>

#include <array>

class Dialogs;
class MenuWindow;

class MenuBuilder {
public:
    void setWindowHandle(qintptr handle) { m_windowHandle = handle; }
    void setMenuName(const QString &name) { m_menuName = name; }
    void setMenuDir(const QString &name) { m_menuDir = name; }
    void setWindow(MenuWindow *window) { m_window = window; }

    // Displays level levelNo ("0" is the top level). An unreadable file shows a message and
    // an empty menu.
    void showMenu(const QString &levelNo);
    // Carries out the entry an operator typed; text that names no entry does nothing.
    void selectTyped(const QString &cmd);
    // F1 to F9 select entries 1 to 9 (key codes 112 to 120); the shift state is not looked at.
    void pressFunctionKey(int keyCode, int shift);
    // A click on caption index selects entry index + 1.
    void clickEntry(int index);

    QString currentMenuNo() const { return m_menuNo; }
    // The kind and target shown at position 1 to 16.
    QString kind(int n) const { return m_kind.at(size_t(n)); }
    QString target(int n) const { return m_target.at(size_t(n)); }

private:
    void select(int n);
    void openForm(const QString &formName);
    QString filePath() const;

    qintptr m_windowHandle = 0;
    QString m_menuName;
    QString m_menuDir;
    MenuWindow *m_window = nullptr;
    QString m_menuNo;
    std::array<QString, 17> m_kind;
    std::array<QString, 17> m_target;
};
