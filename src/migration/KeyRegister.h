// The keys of one table as its rows are read, to find every key met twice with the lines of
// both. A million order lines take a few dozen megabytes: a short key (an import date and a line
// number) is kept in a fixed slot, a longer one in a hash.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class KeyRegister {
public:
    struct Duplicate {
        qint64 line = 0;      // the row that repeats the key
        qint64 firstLine = 0; // the row that had it first
        QString key;          // its values joined with ","
    };

    void add(const QStringList &keyValues, qint64 line);
    // Every repeated key, in the order of the repeating rows; empties the register.
    QList<Duplicate> takeDuplicates();

private:
    static constexpr int kSlot = 19;
    struct Entry {
        char bytes[kSlot];
        quint8 size;
        quint32 line;
    };
    std::vector<Entry> m_short;
    QHash<QByteArray, qint64> m_long;
    QList<Duplicate> m_longDuplicates;
};
