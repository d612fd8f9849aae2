// What a migration found and did, table by table, as `ostera migrate` prints it.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class MigrationReport {
public:
    enum class Outcome {
        Migrated, // loaded and committed
        Checked,  // --dry-run: nothing refused, nothing written
        Refused,  // something refused: nothing written
    };

    struct Table {
        QString name;
        bool present = false; // the source has the table
        QString format;
        QString columnsFrom;
        qint64 read = 0;
        qint64 refused = 0;
        qint64 loaded = 0; // written (Migrated), or that would be (otherwise)
        QStringList skippedColumns;
    };

    // At most this many refusals are listed; the rest are counted.
    static constexpr int kListed = 200;

    void refuse(const QString &text);
    bool refusedAny() const { return m_refusalCount > 0; }
    qint64 refusalCount() const { return m_refusalCount; }
    const QStringList &refusals() const { return m_refusals; }

    // The report as printed: a tab-separated line per table, then the refusals and notes.
    QString text() const;
    // The closing message.
    QString outcomeMessage() const;

    QString source;
    QList<Table> tables;
    QStringList ignored; // what the source holds that is not carried
    QStringList notes;   // counters raised, and the like
    Outcome outcome = Outcome::Refused;

private:
    QStringList m_refusals;
    qint64 m_refusalCount = 0;
};
