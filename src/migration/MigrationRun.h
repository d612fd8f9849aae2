// `ostera migrate`: every carried table of the existing system read from its source, checked
// and loaded into an empty installation made by init-db, in one transaction on either engine,
// so that a refused or killed migration leaves the installation empty.
//
// The checks: each value converts (ColumnConversion); keys are unique; every order line's day
// is registered in SYS_IMPDATE; at most one business month is open. A row that fails any of
// them is refused and named; one refusal refuses the whole migration, and the reading goes on
// so that the report lists all of them. Counters of SYS_KNR_NO behind the control numbers
// already used are raised, and the report says so.
#pragma once

#include "MasterFiles.h"
#include "MigrationReport.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class BulkInserter;
class Db;
class MigrationSource;
class Progress;
struct SourceRow;

class MigrationRun {
public:
    MigrationRun(Db &db, Progress &progress);
    ~MigrationRun();

    MigrationReport run(MigrationSource &source, bool dryRun);

    // The business month whose counter numbered a line. The line does not store it (the
    // import numbers under the month open at the time); the register is kept so that a month
    // is opened before its first day and confirmed after its last, so it is the year and month
    // of the line's import date. std::nullopt for an import date that is no date.
    static std::optional<std::pair<QString, QString>> monthOfLine(const QString &impDate);
    // The number of a control number "AB-007" (or "AB-1000") of factory "AB"; 0 when it is none.
    static int numberOf(const QString &knrNo, const QString &fcRg);

private:
    struct Counter {
        QString nen;
        QString tuki;
        QString fcRg;
        qint64 knrNo = 0;
    };
    struct Day {
        qint64 firstLine = 0;
        qint64 lines = 0;
    };

    QString targetProblem();
    void migrateTable(MigrationSource &source, const QString &table);
    void checkOpenMonths();
    void refuseUnregisteredDays();
    void loadCounters();
    void write(const std::function<void()> &step);
    void stopWriting();

    Db &m_db;
    Progress &m_progress;
    MigrationReport m_report;
    bool m_writing = false;
    std::unique_ptr<BulkInserter> m_bulk;
    QString m_writeError;
    QHash<QString, QList<MasterFiles::Column>> m_deskColumns;

    QStringList m_openMonths; // "2026年12月（3 行目）"
    QSet<QString> m_months;   // "2026|12" of SYS_TUKI
    QSet<QString> m_days;     // IMP_DATE of SYS_IMPDATE
    QHash<QString, Day> m_unregistered;
    QList<Counter> m_counters;         // SYS_KNR_NO as read
    QHash<QString, int> m_usedNumbers; // "nen|tuki|fc" -> highest number used by the lines
};
