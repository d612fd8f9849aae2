// The import screen "Import": the operator picks the day's order file and the import date; OK
// runs the whole import of the day (file, control numbers, build, registration, enrichment and
// error check). The administrator's all-delete lives here too.
#pragma once

#include <QWidget>

class Session;

class QLineEdit;
class QPushButton;

class ImportScreen : public QWidget {
    Q_OBJECT
public:
    explicit ImportScreen(Session &session, QWidget *parent = nullptr);

    QLineEdit *yearEdit = nullptr;
    QLineEdit *monthEdit = nullptr;
    QLineEdit *importDateEdit = nullptr;
    QLineEdit *fileEdit = nullptr;
    QPushButton *browseButton = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QPushButton *deleteAllButton = nullptr;

    void initialise();
    void onBrowse();
    void onOk();
    void onCancel();
    void onDeleteAll();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Session &m_session;
    void setRunning(bool running);

    bool m_running = false;
    bool m_monthOpen = false;
};
