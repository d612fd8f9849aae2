// The re-check "エラー処理実行": runs the enrichment and the error check again for the import
// date picked before (after masters were corrected); the error list then shows the new
// findings.
#pragma once

#include <QWidget>

class QGroupBox;
class QLineEdit;
class QPushButton;

class frmOrd_ErrCheck : public QWidget {
    Q_OBJECT
public:
    explicit frmOrd_ErrCheck(QWidget *parent = nullptr);

    QGroupBox *frame = nullptr;
    QLineEdit *txtImpDate = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;

    void cmdOk_Click();
    void cmdCancel_Click();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
