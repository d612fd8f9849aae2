// The size-row master MST_TARVOLIN_SIZE: which size classes are valid for which row code.
// Its screen edits the pairs directly in a grid; these are the statements behind it.
#pragma once

#include <QString>

#include <optional>

class Db;
class Progress;

class SizeRows {
public:
    struct Pair {
        QString row;
        QString sizeKbn;
        bool operator==(const Pair &other) const = default;
    };

    // progress shows the wait for another workstation's running conversion, which saves and
    // deletes hold back for.
    explicit SizeRows(Db &db, Progress *progress = nullptr) : m_db(db), m_progress(progress) {}

    // Writes a pair changed on the grid, stamped with user and stamp. stored is the pair as
    // it is in the table (std::nullopt for a new line). Answers the refusal ("" when written):
    // a key part left blank, or a pair that is already registered. Throws DbError.
    QString save(const std::optional<Pair> &stored, const Pair &pair, const QString &user,
                 const QString &stamp);
    void remove(const Pair &pair);
    bool exists(const Pair &pair);

    static QString blankKeyMessage();
    // The size-row screen's statement: every pair under its headings, in row order. Aliases in
    // double quotes keep their spelling on PostgreSQL (the sheet's headings too).
    static QString listStatement();

private:
    void insert(const Pair &pair, const QString &user, const QString &stamp);

    Db &m_db;
    Progress *m_progress;
};
