// The print screen (受注情報 / ネーム生産情報 / 合計表): prints one list of the latest
// conversion run. The main menu opens it modally with its command word as the mode.
#pragma once

#include "OpenWithMode.h"
#include "ReportEngine.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class frmOrd_Print : public QDialog, public OpenWithMode {
    Q_OBJECT
public:
    explicit frmOrd_Print(QWidget *parent = nullptr);

    // mode: "OrderList", "CarList" or "TotalList". Shows the screen modally.
    void MP_Open(const QString &mode) override;
    QString mode() const { return m_mode; }

    QLabel *lblImpDate;
    QLineEdit *txtImpDate; // the import date of the report data, or "Nothing"
    QPushButton *cmdOk;
    QPushButton *cmdCancel;
    ReportEngine CrDraw1;

private:
    void Form_Load();
    void cmdOk_Click();
    void cmdCancel_Click();

    QString m_mode;
};
