// Shows one level of the menu file in the menu window and carries out the choice of an
// entry: M shows another level, F opens a screen by its form name, S runs a command word.
#pragma once

#include "MenuFile.h"

#include <QString>

#include <array>

class Dialogs;
class MenuWindow;

class clsMakeMenu16 {
public:
    void setFrmhWnd(qintptr hikihWnd) { m_frmhWnd = hikihWnd; }
    void setMenuName(const QString &hikiName) { m_menuName = hikiName; }
    void setMenuDir(const QString &hikiName) { m_menuDir = hikiName; }
    void setObjForm(MenuWindow *objFormName) { m_form = objFormName; }

    // Displays level MenuNo ("0" is the top level). An unreadable file shows a message and
    // an empty menu.
    void showMenu(const QString &MenuNo);
    // Carries out the entry an operator typed; text that names no entry does nothing.
    void MenuSelect(const QString &cmd);
    // F1 to F9 select entries 1 to 9 (key codes 112 to 120); the shift state is not looked at.
    void FunctionKey(int KeyCode, int shift);
    // A click on caption Index selects entry Index + 1.
    void cmdClick(int Index);

    QString currentMenuNo() const { return m_menuNo; }
    // The kind and target shown at position 1 to 16.
    QString kind(int n) const { return m_kind.at(size_t(n)); }
    QString target(int n) const { return m_target.at(size_t(n)); }

private:
    void select(int n);
    void openForm(const QString &formName);
    QString filePath() const;

    qintptr m_frmhWnd = 0;
    QString m_menuName;
    QString m_menuDir;
    MenuWindow *m_form = nullptr;
    QString m_menuNo;
    std::array<QString, 17> m_kind;
    std::array<QString, 17> m_target;
};
