// The re-check "エラー処理実行": runs the enrichment and the error check again for the import
// date picked before (after masters were corrected); the error list then shows the new
// findings.
#pragma once

#include <QWidget>

class Session;

class QGroupBox;
class QLineEdit;
class QPushButton;

class RecheckScreen : public QWidget {
    Q_OBJECT
public:
    explicit RecheckScreen(Session &session, QWidget *parent = nullptr);

    QGroupBox *frame = nullptr;
    QLineEdit *importDateEdit = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;

    void onOk();
    void onCancel();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    Session &m_session;
};
