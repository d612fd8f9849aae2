// The history of one order line (履歴), shown from the edit screen's F9: every change of the
// line, oldest first — when, who, which column, the value before and after. A small modal
// list; Esc or Enter closes it.
#pragma once

#include <QDialog>

class Session;

class QLabel;
class QPushButton;
class QTableWidget;

class LineHistoryScreen : public QDialog {
    Q_OBJECT
public:
    explicit LineHistoryScreen(Session &session, QWidget *parent = nullptr);

    // Shows the line's changes modally; tells the operator instead when there are none or
    // the installation lacks the history tables (the dialog then closes at once).
    Q_INVOKABLE void openModal(const QString &impDate, const QString &impLn);

    QLabel *lineLabel;
    QTableWidget *historyGrid;
    QPushButton *closeButton;

private:
    Session &m_session;
    // false after the message that there is nothing to show.
    bool fillHistory(const QString &impDate, const QString &impLn);
};
