// The bulk update dialog (更新) of the order edit screen: sets the set date, the printer model
// with its thermal-transfer flag, and the special-conversion flag on every line the edit
// screen shows (the session's order condition). The model comes from the list of
// MST_PRINTER, whose second column is the model's flag. A refusal or a database error keeps
// the dialog open with the input; OK closes it and refreshes the edit screen.
#pragma once

#include <QDialog>

class Session;

class QComboBox;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
struct BulkUpdateValues;

class BulkUpdateDialog : public QDialog {
    Q_OBJECT
public:
    explicit BulkUpdateDialog(Session &session, QWidget *parent = nullptr);

    BulkUpdateValues values() const;

    QComboBox *setDateCombo;
    QComboBox *printerCombo;
    QLineEdit *dataKindEdit;
    QComboBox *specialCombo;
    QPushButton *okButton;
    QPushButton *cancelButton;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Session &m_session;
    void buildControls();
    void initialise();
    void fillLists();
    void onPrinterChosen();
    void onOk();

    QStandardItemModel *m_printers;
};
