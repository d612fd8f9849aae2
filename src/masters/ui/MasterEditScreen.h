// The edit screen of a master (ネーム資材マスタ, 品質マスタ編集, 工場マスタ編集), modal over its
// list: one record at a time, opened for a new record (editMode 0), for the list's current record
// (1) or for a new record starting from a copy of it (-1). OK saves the whole record (delete
// and insert in one transaction) after checkBeforeSave; F1 asks before closing, F2 before saving.
// A screen declares its inputs by column (bindInput) and lays them out; the base fills them
// from the record, collects them for the save and stamps USER_NM and TIME_STAMP.
#pragma once

#include "MasterTable.h"

#include <QDialog>
#include <QList>
#include <QPair>

#include <memory>

class Session;

class Db;
class Dialogs;
class QComboBox;
class QKeyEvent;
class QLayout;
class QLineEdit;
class QPushButton;

class MasterEditScreen : public QDialog {
    Q_OBJECT
public:
    // Remembers the mode, reads the record (key: the list's current key; ignored for a new
    // record) and shows the screen modally. true when a record was saved.
    bool openModal(int mode, const QString &key);

    int editMode = ModeNew;
    QLineEdit *openedKeyEdit; // the key the screen was opened with (hidden)
    QLineEdit *savedByEdit;   // stamped on save
    QLineEdit *savedAtEdit;   // stamped on save
    QPushButton *okButton;
    QPushButton *cancelButton;

    void onOk();
    void onCancel();

protected:
    MasterEditScreen(Session &session, const QString &title, QWidget *parent = nullptr);

    // The master's statements on the given connection.
    virtual std::unique_ptr<MasterTable> createTable(Db &db) const = 0;
    // Lists offered by the screen's combos, filled before the record is shown.
    virtual void fillLists(MasterTable &) {}
    // Just before the stamps of a save (after checkBeforeSave passed).
    virtual void beforeStamp() {}

    // An input showing and giving a column (the key's input is the table's key column).
    QLineEdit *textInput(const QString &column, const char *objectName, int width = 0);
    QComboBox *comboInput(const QString &column, const char *objectName, int width = 0);
    // The screen's inputs between the title band and the stamp and button row.
    void setBody(QLayout *body);

    MasterValues inputValues() const;
    void showValues(const MasterValues &values);
    Dialogs &dialogs() const;

private:
    Session &m_session;
    void showRecord(MasterTable &table);
    bool checkBeforeSave(MasterTable &table);
    bool save(MasterTable &table);
    bool onKey(QKeyEvent *event);
    QString keyText() const;
    void bind(const QString &column, QWidget *input);

    QList<QPair<QString, QWidget *>> m_inputs;
    QString m_keyColumn;
    QWidget *m_firstInput = nullptr;
};
