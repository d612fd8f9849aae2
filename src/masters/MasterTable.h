// One master maintained through a list and an edit screen (name types, qualities, factories):
// the record the edit screen opens, the check before saving (checkBeforeSave), the save that
// replaces the whole record by delete and insert in one transaction, and the delete of the
// list. Each master names its table, key and columns in the order the edit screen writes them.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

class Db;
class Progress;

// Column -> text of the edit screen's input (column names as in the table, upper case).
using MasterValues = QMap<QString, QString>;

// How an edit screen was opened (editMode).
enum MasterEditMode {
    ModeCopy = -1, // new record starting from a copy of the current one
    ModeNew = 0,
    ModeEdit = 1,
};

class MasterTable {
public:
    // progress shows the wait for another workstation's running conversion (none: waits
    // without a word).
    explicit MasterTable(Db &db, Progress *progress = nullptr) : m_db(db), m_progress(progress) {}
    virtual ~MasterTable() = default;
    MasterTable(const MasterTable &) = delete;
    MasterTable &operator=(const MasterTable &) = delete;

    virtual QString table() const = 0;
    virtual QString keyColumn() const = 0;
    // Every column, in the order the edit screen writes them.
    virtual QStringList columns() const = 0;
    // checkBeforeSave's message for a blank key ("ネーム種が入力されていません。").
    virtual QString missingKeyMessage() const = 0;

    // The record under key as the edit screen shows it; empty when there is none.
    MasterValues load(const QString &key);
    bool exists(const QString &key);
    // Why the record may not be saved: the blank-key message, the master's own refusal of the
    // key (keyRefusal), "既に登録されています。" when a new record, a copy or a changed key
    // would take a key that is in use; "" when it may. Throws DbError.
    QString saveRefusal(int mode, const QString &typedKey, const QString &openedKey);
    // Replaces the record: in edit mode the record under its old key (openedKey) is removed
    // first, then the new one inserted, all in one transaction. Throws DbError after rolling
    // back; nothing is changed then. Saves and deletes wait for a running conversion, whose
    // lists and files must read the masters it started with.
    void save(int mode, const QString &openedKey, const MasterValues &values);
    void remove(const QString &key);

    static QString alreadyRegisteredMessage();
    // The key as it is checked and stored: blanks (U+0020) trimmed at both ends.
    static QString trimBlanks(const QString &text);

    // A key the master cannot take whatever the table holds; "" when it may. The key comes
    // with its blanks trimmed and is not empty.
    virtual QString keyRefusal(const QString &key) const { return {}; }

protected:
    // The value bound into the insert for a column (numbers for numeric columns).
    virtual QVariant bindValue(const QString &column, const QString &text) const;
    // How the edit screen shows a stored value.
    virtual QString displayText(const QString &column, const QVariant &value) const;

    Db &db() { return m_db; }

private:
    void deleteKey(const QString &key);
    void insert(const MasterValues &values);

    Db &m_db;
    Progress *m_progress;
};
