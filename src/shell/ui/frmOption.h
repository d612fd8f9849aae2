// The options screen "設定": every key of the INI file. It writes the file only; the running
// program keeps what it read at start-up, so the settings apply from the next start.
#pragma once

#include <QWidget>

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;

class frmOption : public QWidget {
    Q_OBJECT
public:
    explicit frmOption(QWidget *parent = nullptr);

    QLineEdit *txtProvider;
    QLineEdit *txtServerName;
    QLineEdit *txtDataBaseName;
    QLineEdit *txtUserName;
    QLineEdit *txtPass;
    QLineEdit *txtTimeOut;
    QComboBox *cmbLPrn;
    QComboBox *cmbDPrn;
    QLineEdit *txtUserNm;
    QLineEdit *txtDir1;
    QLineEdit *txtDir2;
    QLineEdit *txtDir3;
    QLineEdit *txtDir4;
    QLineEdit *txtDir5;
    QPushButton *cmdOK;

private:
    void Form_Load();
    void PP_ShowSettings();
    void PP_SaveSettings();
    void cmdOK_Click();
    bool onKey(QKeyEvent *event);
};
