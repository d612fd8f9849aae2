// What differs between the engines, one class per engine: locks between workstations, the
// planner's settings and figures for statements over a whole day, and catalog look-ups.
// A connection hands out its engine's dialect (Db::dialect()); callers never branch on the
// engine for these.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class Db;

// A lock between workstations that one connection holds until it releases it; the server
// (PostgreSQL) or the file system (SQLite's lock file, stale once its process is gone) frees it
// when the workstation dies.
class SessionLock {
public:
    virtual ~SessionLock() = default;
    virtual bool tryLock() = 0;
    virtual void unlock() = 0;
};

// A column of a table as the engine's catalog describes it. precision and scale are -1 where
// the catalog gives them only inside the declared type (SQLite's "NUMERIC(9,2)").
struct CatalogColumn {
    QString name;
    QString type;
    bool key = false;
    int precision = -1;
    int scale = -1;
    // A text column an older installation made in the database's own order instead of the
    // desk's code-point order.
    bool otherTextOrder = false;
    // An integer column of 32 bits (an older installation's INTEGER; the engine's integers of
    // 64 bits are not narrow).
    bool narrowInteger = false;
};

class SqlDialect {
public:
    virtual ~SqlDialect() = default;

    // Holds every other transaction that asks for the same space and name until this one ends.
    // Installations sharing one server in schemas of their own never wait for each other.
    virtual void lockUntilCommit(Db &db, const QString &space, const QString &name) const = 0;
    // The lock named name of this installation, not yet taken.
    virtual std::unique_ptr<SessionLock> sessionLock(Db &db, const QString &name) const = 0;

    // Inside a transaction: statements that pair a whole day of lines with masters, lot totals
    // or the day again are planned as one hashed pass over each side.
    virtual void tuneForDayWork(Db &db) const = 0;
    // Stops compiling statements on this connection until resetJit; false when the engine
    // compiles none.
    virtual bool switchJitOff(Db &db) const = 0;
    virtual void resetJit(Db &db) const = 0;
    // Brings the planner's figures of these columns of table up to date (of every table when
    // table is empty).
    virtual void refreshStatistics(Db &db, const QString &table,
                                   const QStringList &columns = {}) const = 0;

    // The columns of a table of this installation, in their order. table is one of the desk's
    // own names, never a value from outside.
    virtual QList<CatalogColumn> columns(Db &db, const QString &table) const = 0;

    // What follows TEXT in a column's declaration: the desk compares and sorts text by code
    // point on every engine.
    virtual QString textCollation() const = 0;
    // The schema the installation works in, made when it is missing (an engine without
    // schemas does nothing).
    virtual void createSchema(Db &db, const QString &schema) const = 0;
    // A work table that is refilled by every run needs no crash safety: its writes skip the
    // engine's journal where the engine allows it.
    virtual void unlogTable(Db &db, const QString &table) const = 0;
};

class SqliteDialect : public SqlDialect {
public:
    void lockUntilCommit(Db &db, const QString &space, const QString &name) const override;
    std::unique_ptr<SessionLock> sessionLock(Db &db, const QString &name) const override;
    void tuneForDayWork(Db &db) const override;
    bool switchJitOff(Db &db) const override;
    void resetJit(Db &db) const override;
    void refreshStatistics(Db &db, const QString &table,
                           const QStringList &columns = {}) const override;
    QList<CatalogColumn> columns(Db &db, const QString &table) const override;
    QString textCollation() const override;
    void createSchema(Db &db, const QString &schema) const override;
    void unlogTable(Db &db, const QString &table) const override;
};

class PostgresDialect : public SqlDialect {
public:
    void lockUntilCommit(Db &db, const QString &space, const QString &name) const override;
    std::unique_ptr<SessionLock> sessionLock(Db &db, const QString &name) const override;
    void tuneForDayWork(Db &db) const override;
    bool switchJitOff(Db &db) const override;
    void resetJit(Db &db) const override;
    void refreshStatistics(Db &db, const QString &table,
                           const QStringList &columns = {}) const override;
    QList<CatalogColumn> columns(Db &db, const QString &table) const override;
    QString textCollation() const override;
    void createSchema(Db &db, const QString &schema) const override;
    void unlogTable(Db &db, const QString &table) const override;
};
