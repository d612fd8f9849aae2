// The import-date picker: a small modal list of the unconfirmed import dates, newest first.
// The chosen date and its order condition go to the session; outcome() tells the caller
// whether a date was chosen (Done), the operator closed the list (Declined), the picker refused
// (a related order screen open, no open import date) or failed. The old cancel code: 0 is Done.
#pragma once

#include "ImportDatePicker.h"
#include "ScreenRegistry.h"

#include <QDialog>
#include <QStringList>

class Session;

class QKeyEvent;
class QTableWidget;

class ImportDateDialog : public QDialog, public ImportDatePicker {
    Q_OBJECT
public:
    explicit ImportDateDialog(Session &session, QWidget *parent = nullptr);

    void openModal() override;
    Outcome outcome() const override { return m_outcome; }

    // The screens that work on the import date, with the menu caption the refusal names them by;
    // the picker refuses while any of them is open.
    struct RelatedScreen {
        ScreenRegistry::Key key;
        QString caption;
    };
    static const QList<RelatedScreen> &relatedScreens();
    // Window height for n dates: row height × n + 370 twips.
    static int heightTwips(int rows);
    // 15 twips to a pixel at 96 dpi.
    static int twipsToPixels(int twips);

    QTableWidget *gridView;

private:
    Session &m_session;
    bool relatedScreenOpen();
    Outcome loadImportDates();
    void acceptSelection();
    void cancel();
    bool onKey(QKeyEvent *event);

    Outcome m_outcome = Outcome::Declined;
};
