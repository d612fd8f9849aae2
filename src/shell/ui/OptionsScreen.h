// The options screen "設定": every key of the INI file. It writes the file only; the running
// program keeps what it read at start-up, so the settings apply from the next start.
#pragma once

#include <QWidget>

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class Session;

class OptionsScreen : public QWidget {
    Q_OBJECT
public:
    explicit OptionsScreen(Session &session, QWidget *parent = nullptr);

    QComboBox *providerCombo; // SQLite or PostgreSQL, written as shown

    QLineEdit *serverEdit;
    QLineEdit *databaseEdit;
    QLineEdit *databaseUserEdit;
    QLineEdit *passwordEdit;
    QLineEdit *timeoutEdit;
    QComboBox *listPrinterCombo;
    QComboBox *slipPrinterCombo;
    QLineEdit *userNameEdit;
    QLineEdit *thermalFolderEdit;
    QLineEdit *proofFolderEdit;
    QLineEdit *artworkFolderEdit;
    QLineEdit *lotSealFolderEdit;
    QLineEdit *lotSheetFolderEdit;
    QPushButton *testButton; // connects with the settings as shown
    // "参照..." beside each output folder, in the order of the folders above.
    QList<QPushButton *> browseButtons;
    QPushButton *okButton;

private:
    void initialise();
    void showSettings();
    void saveSettings();
    void onOk();
    void onTest();
    void browse(QLineEdit *folderEdit, const QString &title);
    bool onKey(QKeyEvent *event);

    Session &m_session;
};
