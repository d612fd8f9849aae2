// One operation's writes to the history: who does it (gUserName on gComputerName unless
// given) and when (Clock::stamp() when the operation begins). Each write runs in a savepoint
// of the caller's transaction, so it commits or rolls back with the change it records; a
// write that fails (tables of an older installation missing, any database error) is undone
// alone and the change goes on.
//
// A scope object: when it ends normally after a failed write, the operator is told once
// (when there is someone to tell). When it ends because the change itself failed (an
// exception on its way), the change's own message says enough and nothing more is shown.
#pragma once

#include <QString>

#include <functional>

class Db;
class Dialogs;

struct HistoryOperator {
    QString user;
    QString computer;
    static HistoryOperator fromGlobals();
};

class HistoryWrite {
public:
    explicit HistoryWrite(Db &db, Dialogs *dialogs = nullptr,
                          HistoryOperator who = HistoryOperator::fromGlobals());
    ~HistoryWrite();
    HistoryWrite(const HistoryWrite &) = delete;
    HistoryWrite &operator=(const HistoryWrite &) = delete;

    // Runs write in a savepoint; false after a failure (undone, reported when the scope ends).
    bool attempt(const std::function<void()> &write);

    Db &db() const { return m_db; }
    const HistoryOperator &who() const { return m_who; }
    const QString &at() const { return m_at; }
    // Whether the last attempt failed.
    bool failed() const { return m_failed; }

    // The text a failed write shows: the missing tables, or the database's own description.
    static QString failureText(Db &db, const QString &description);
    // Texts are bound as '' when empty: a null QString would reach the database as NULL.
    static QString text(const QString &value);

private:
    Db &m_db;
    Dialogs *m_dialogs;
    HistoryOperator m_who;
    QString m_at;
    QString m_failure; // the first failure's text, shown when the scope ends
    int m_uncaught;
    bool m_failed = false;
};
