// The print screen (受注情報 / ネーム生産情報 / 合計表): prints one list of the latest
// conversion run. The main menu opens it modally with its command word as the mode.
#pragma once

#include "OpenWithMode.h"
#include "ReportEngine.h"

#include <QDialog>

class Session;

class QLabel;
class QLineEdit;
class QPushButton;

class PrintScreen : public QDialog, public OpenWithMode {
    Q_OBJECT
public:
    explicit PrintScreen(Session &session, QWidget *parent = nullptr);

    // mode: "OrderList", "CarList" or "TotalList". Shows the screen modally.
    void openModal(const QString &mode) override;
    QString mode() const { return m_mode; }

    QLabel *importDateLabel;
    QLineEdit *importDateEdit; // the import date of the report data, or "Nothing"
    QLabel *runLabel;          // which run the lists come from
    QPushButton *okButton;
    QPushButton *cancelButton;
    ReportEngine reportEngine;

private:
    Session &m_session;
    void initialise();
    void onOk();
    void onCancel();

    QString m_mode;
};
