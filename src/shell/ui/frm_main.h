// The main menu "Ostera System": one level of the menu file as sixteen numbered entries,
// chosen by typed number, F1 to F9 or a click; command words run through loadProcedure.
// Closing it closes every screen and ends the program.
#pragma once

#include "MenuWindow.h"
#include "clsMakeMenu16.h"

#include <QWidget>

#include <array>

class ClickableLabel;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;

class frm_main : public QWidget, public MenuWindow {
    Q_OBJECT
public:
    explicit frm_main(QWidget *parent = nullptr);

    void setMenuTitle(const QString &title) override;
    void setEntryCaption(int index, const QString &caption) override;
    void loadProcedure(const QString &hikiPName) override;

    clsMakeMenu16 &menu() { return m_menu; }

    QLineEdit *txtCmd;
    QGroupBox *framMenu;
    std::array<ClickableLabel *, 16> xlabMenu{};
    std::array<QLabel *, 16> Label1{};
    std::array<QLabel *, 16> m_keyHints{};

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct CommandWord;
    static const QList<CommandWord> &commandTable();

    void Form_Load();
    QWidget *buildMenuFrame();
    bool onKey(QKeyEvent *event);
    void txtCmd_Enter();
    bool isAvailable(const CommandWord &command) const;
    bool runPicker();
    void run(const CommandWord &command, const QString &word);
    void showModal(QWidget *screen);
    void refuse(const QString &word);

    clsMakeMenu16 m_menu;
};
