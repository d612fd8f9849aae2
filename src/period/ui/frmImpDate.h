// The import-date picker: a small modal list of the unconfirmed import dates, newest first.
// The chosen date goes to gImpDate and its condition to gWhere; m_cancel() tells the caller
// whether a date was chosen. It refuses while a related order screen is open.
#pragma once

#include "ImpDatePicker.h"

#include <QDialog>
#include <QStringList>

class QKeyEvent;
class QTableWidget;

class frmImpDate : public QDialog, public ImpDatePicker {
    Q_OBJECT
public:
    explicit frmImpDate(QWidget *parent = nullptr);

    void MP_Open() override;
    int m_cancel() const override { return m_cancelValue; }

    // The screens that work on gImpDate; the picker refuses while any of them is open.
    static const QStringList &relatedForms();
    // Window height for n dates: row height × n + 370 twips.
    static int heightTwips(int rows);
    // 15 twips to a pixel at 96 dpi.
    static int twipsToPixels(int twips);

    QTableWidget *TDBGrid1;

private:
    bool PF_RelatedFormsOpen();
    int PF_LoadImpDates();
    void PP_Select();
    void cancel();
    bool onKey(QKeyEvent *event);

    int m_cancelValue = 1;
};
