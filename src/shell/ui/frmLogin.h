// The first window: names the operator for the run, warns about unset or unreachable output
// folders and offers the options screen (F10) for repairs. Cancel ends the program.
#pragma once

#include <QWidget>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

class frmLogin : public QWidget {
    Q_OBJECT
public:
    explicit frmLogin(QWidget *parent = nullptr);

    // 0 when the five output folders are set and exist, 1 otherwise (after one message for
    // each folder at fault, in the fixed order).
    int PF_PathCheck();

    QLineEdit *txtLogIn;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
    QLabel *lblVer;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void checkFolders();
    void cmdOK_Click();
    void cmdCancel_Click();
    bool onKey(QKeyEvent *event);

    bool m_checked = false;
};
