// The confirmation screen (確定): the counts of the import date of gImpDate and the
// confirmation of the whole date.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

class frmOrd_Kakutei : public QWidget {
    Q_OBJECT
public:
    explicit frmOrd_Kakutei(QWidget *parent = nullptr);

    QLineEdit *txtImpDate;
    QLineEdit *txtTotal;
    QLineEdit *txtHenCnt;
    QLineEdit *txtMiHenCnt;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void Form_Activate();
    void cmdOk_Click();
};
