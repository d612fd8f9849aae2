// The control numbers of one import, worked out while the file is read: every line belongs to
// the group of its factory abbreviation, set date, name type and lot number; the groups of a
// factory are numbered in the order set date, name type, lot number, after the factory's
// counter for the business month. Each factory's counter is raised once, by its number of
// groups, so that the work table is written once with its numbers.
#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

class Db;

class ControlNumberGroups {
public:
    struct Key {
        QString fcRg;
        QString setDate; // as stored: "yyyy/mm/dd"
        QString carCd;
        QString lotNo;
        bool operator==(const Key &other) const = default;
    };

    // Line n (from 1) with its group key.
    void add(int line, Key key);

    // Raises every factory's counter (in factory order) and gives each group its number.
    // Throws DbError.
    void draw(Db &db, const QString &nen, const QString &tuki);

    // KNR_NO of line n after draw(); nothing when the line was not added with this key.
    std::optional<QString> knrNo(int line, const Key &key) const;

private:
    QList<Key> m_groups;
    QHash<Key, int> m_index;
    std::vector<int> m_groupOfLine; // line n at n - 1; -1 for a line not added
    QList<QString> m_numbers;       // KNR_NO of each group
};

size_t qHash(const ControlNumberGroups::Key &key, size_t seed = 0);
