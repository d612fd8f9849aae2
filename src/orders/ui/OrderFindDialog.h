// The find dialog (検索) of the order edit screen. Loaded hidden when the edit screen opens so
// that its lists hold the values of the import date; F4 shows it modally. OK turns the criteria
// into the session's order condition and refills the edit grid; Cancel leaves the condition as
// it was. Both unload the dialog, so the next F4 starts with empty criteria.
#pragma once

#include <QDialog>

class Session;

class QComboBox;
class QLineEdit;
class QPushButton;
struct OrderFindCriteria;

class OrderFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit OrderFindDialog(Session &session, QWidget *parent = nullptr);

    OrderFindCriteria criteria() const;

    QLineEdit *importDateEdit;
    QComboBox *factorySymbolCombo;
    QComboBox *setDateFromCombo;
    QComboBox *setDateToCombo;
    QComboBox *productNumberCombo;
    QComboBox *controlNumberCombo;
    QComboBox *lotNumberCombo;
    QComboBox *lotCountFromCombo;
    QComboBox *lotCountToCombo;
    QComboBox *lotAverageFromCombo;
    QComboBox *lotAverageToCombo;
    QComboBox *specialCombo;
    QComboBox *nameTypeCombo;
    QComboBox *qualityKeyCombo;
    QComboBox *printerCombo;  // 未設定 finds the lines without a printer
    QComboBox *findingsCombo; // lines with findings, without, or both
    QPushButton *okButton;
    QPushButton *cancelButton;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Session &m_session;
    void buildControls();
    void initialise();
    void onActivated();
    void fillLists();
    void onOk();
};
