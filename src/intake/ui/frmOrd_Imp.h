// The import screen "Import": the operator picks the day's order file and the import date; OK
// runs the whole import of the day (file, control numbers, build, registration, enrichment and
// error check). The administrator's all-delete lives here too.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

class frmOrd_Imp : public QWidget {
    Q_OBJECT
public:
    explicit frmOrd_Imp(QWidget *parent = nullptr);

    QLineEdit *txtNen = nullptr;
    QLineEdit *txtTuki = nullptr;
    QLineEdit *txtDate = nullptr;
    QLineEdit *txtPath = nullptr;
    QPushButton *cmdSansyou = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *Command1 = nullptr;

    void Form_Load();
    void cmdSansyou_Click();
    void cmdOk_Click();
    void cmdCancel_Click();
    void Command1_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setRunning(bool running);

    bool m_running = false;
    bool m_monthOpen = false;
};
