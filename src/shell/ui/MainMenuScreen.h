// The main menu "Ostera System": one level of the menu file as sixteen numbered entries,
// chosen by typed number, F1 to F9 or a click; command words run through loadProcedure.
// Closing it closes every screen and ends the program.
#pragma once

#include "MenuBuilder.h"
#include "MenuWindow.h"
#include "ScreenRegistry.h"

#include <QWidget>

#include <array>

class ClickableLabel;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;

class Session;

class MainMenuScreen : public QWidget, public MenuWindow {
    Q_OBJECT
public:
    explicit MainMenuScreen(Session &session, QWidget *parent = nullptr);

    void setMenuTitle(const QString &title) override;
    void setEntryCaption(int index, const QString &caption) override;
    void loadProcedure(const QString &word) override;

    MenuBuilder &menu() { return m_menu; }

    QLineEdit *commandEdit;
    QGroupBox *menuFrame;
    std::array<ClickableLabel *, 16> entryCaptions{};
    std::array<QLabel *, 16> entryNumbers{};
    std::array<QLabel *, 16> m_keyHints{};

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void initialise();
    QWidget *buildMenuFrame();
    bool onKey(QKeyEvent *event);
    void onCommandEntered();
    bool isAvailable(const ScreenRegistry::Command &command) const;
    bool runPicker();
    void run(const ScreenRegistry::Command &command, const QString &word);
    void showModal(QWidget *screen);
    void refuse(const QString &word);

    Session &m_session;
    MenuBuilder m_menu;
};
