// The confirmation screen (確定): the counts of the import date of gImpDate and the
// confirmation of the whole date.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

class ConfirmationScreen : public QWidget {
    Q_OBJECT
public:
    explicit ConfirmationScreen(QWidget *parent = nullptr);

    QLineEdit *importDateEdit;
    QLineEdit *totalEdit;
    QLineEdit *convertedEdit;
    QLineEdit *unconvertedEdit;
    QPushButton *okButton;
    QPushButton *cancelButton;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void initialise();
    void onActivated();
    void onOk();
};
